#pragma once

#include <string>
#include <vector>

#include "model/MacroFile.h"
#include "support/FormFixture.h"

namespace pontrel::test {

// The window after start-up, with helpers that put macro files on the fake file system.
struct MacroFileFixture : FormFixture {
    void SetUp() override { start(); }

    // A file: the given header line, then each line, every one ended by CR LF.
    static std::string fileOf(const std::string& header, const std::vector<std::string>& lines) {
        std::string bytes = header + "\r\n";
        for (const std::string& line : lines) {
            bytes += line + "\r\n";
        }
        return bytes;
    }

    // A file as the program writes it: header, records and key line.
    static std::string macro(const std::vector<std::string>& records) {
        std::vector<std::string> lines = records;
        lines.push_back(keyLine(macroChecksum(records)));
        return fileOf(macroFileHeader(), lines);
    }

    // Puts the bytes at the path and loads them with "Laden".
    void load(const std::string& path, const std::string& bytes) {
        fake.files.files[path] = bytes;
        f().dateipfad = path;
        f().cmd_load.click();
    }

    std::vector<std::string> slots(int from, int to) {
        return {f().befehl_zeilen.begin() + from, f().befehl_zeilen.begin() + to + 1};
    }
};

}  // namespace pontrel::test
