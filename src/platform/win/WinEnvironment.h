#pragma once

#include <functional>

#include "platform/ClockSeededRandom.h"
#include "platform/Environment.h"

namespace pontrel {

// The process: its command line, current directory, locale and exit.
class WinEnvironment : public Environment {
public:
    // beforeExit runs right before the process ends (releasing held keys, for example).
    explicit WinEnvironment(std::function<void()> beforeExit = {});

    std::string commandLine() override;
    std::string currentDirectory() override;
    std::string pathSeparator() override { return "\\"; }
    std::string programFileName() override { return "Pontrel.exe"; }
    std::string decimalSeparator() override;
    double randomUnit() override;
    void exitProcess(int code) override;
    Status openUrl(const std::string& url) override;
    void writeLog(const std::string& line) override;

private:
    std::function<void()> beforeExit_;
    ClockSeededRandom random_;
};

// A command line after the program's name (quoted or not) and the blanks after it, the rest
// exactly as passed.
std::wstring argumentsOf(const std::wstring& commandLine);

}  // namespace pontrel
