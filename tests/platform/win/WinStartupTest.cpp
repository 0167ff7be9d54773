#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "WinTestSupport.h"
#include "platform/win/WideText.h"

namespace pontrel::test {
namespace {

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK lookAtWindow(HWND window, LPARAM data) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t caption[16]{};
    GetWindowTextW(window, caption, 16);
    search.found = owner == search.processId && IsWindowVisible(window) != FALSE &&
                   std::wstring(caption) == L"Pontrel";
    return search.found ? FALSE : TRUE;
}

// The built program, started in a folder of its own and ended by its process handle.
class StartedProgram {
public:
    StartedProgram(std::wstring program, const std::wstring& folder) {
        std::replace(program.begin(), program.end(), L'/', L'\\');
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, folder.c_str(), &startup, &process_) != FALSE;
    }
    ~StartedProgram() {
        if (started_) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, 5000);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return started_; }

    // Whether one of its top-level windows captioned "Pontrel" is visible.
    bool showsItsWindow() const {
        WindowSearch search{process_.dwProcessId, false};
        EnumWindows(lookAtWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// The window digit 9 of a header hides the window only for a file opened later: a default macro
// file with it leaves the window shown once start-up has ended.
TEST(WinStartupTest, TheWindowIsShownAfterStartUpAlsoWhenTheDefaultFileWouldHideIt) {
    const TempFolder folder;
    std::ofstream(widen(folder.file("pontrel.qmc")).c_str(), std::ios::binary)
        << ".qmc 0900 Pontrel Version 1.2.2\r\n";
    const StartedProgram program(programFolder() + widen(PONTREL_PROGRAM_FROM_TESTS),
                                 widen(folder.file("")));
    ASSERT_TRUE(program.started());
    EXPECT_TRUE(pumpUntil([&] { return program.showsItsWindow(); }, std::chrono::seconds(15)));
}

}  // namespace
}  // namespace pontrel::test
