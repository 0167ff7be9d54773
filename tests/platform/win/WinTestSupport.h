#pragma once

#include <chrono>
#include <functional>
#include <string>

#include <windows.h>

namespace pontrel::test {

// True in wine, where BlockInput and LockWorkStation are harmless stubs.
bool runningUnderWine();

// Dispatches the thread's messages until done() holds or the time is up; returns done().
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// The folder of the test program, with a trailing backslash.
std::wstring programFolder();

// A fresh empty folder under the temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The UTF-8 path of a file in the folder.
    std::string file(const std::string& name) const;

private:
    std::wstring path_;
};

// The bytes of a file, read without the services under test.
std::string fileBytes(const std::string& utf8Path);

}  // namespace pontrel::test
