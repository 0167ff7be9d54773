#include "platform/win/WinSystemService.h"

#include <mmsystem.h>

#include "platform/win/WideText.h"
#include "platform/win/WmiPowerRequest.h"

namespace pontrel {

namespace {

constexpr WPARAM monitorPower = 0xF170;  // SC_MONITORPOWER
constexpr LPARAM monitorPowerOff = 2;
constexpr UINT answerLength = 255;

}  // namespace

WinSystemService::WinSystemService(std::function<HWND()> monitorWindow)
    : monitorWindow_(std::move(monitorWindow)) {}

Status WinSystemService::startProgram(const std::string& commandLine) {
    if (commandLine.empty()) {
        return Status::failure("empty command line");
    }
    // Without an application name CreateProcess finds the program itself, trying the longer
    // blank-separated prefixes of an unquoted path first.
    std::wstring line = widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return Status::failure(lastErrorText("CreateProcess"));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Status::success();
}

Status WinSystemService::lockWorkstation() {
    if (!LockWorkStation()) {
        return Status::failure(lastErrorText("LockWorkStation"));
    }
    return Status::success();
}

Status WinSystemService::reboot() {
    return requestWmiPower(L"Reboot");
}

Status WinSystemService::shutdown() {
    return requestWmiPower(L"Shutdown");
}

Status WinSystemService::monitorOff() {
    HWND window = monitorWindow_ ? monitorWindow_() : nullptr;
    if (window == nullptr) {
        return Status::failure("no window for the monitor command");
    }
    SendMessageW(window, WM_SYSCOMMAND, monitorPower, monitorPowerOff);
    return Status::success();
}

std::vector<std::string> WinSystemService::cdDriveRoots() {
    std::vector<std::string> roots;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (GetDriveTypeA(root.c_str()) == DRIVE_CDROM) {
            roots.push_back(root);
        }
    }
    return roots;
}

Status WinSystemService::mciSendString(const std::string& command, std::string* answer) {
    char buffer[answerLength + 1] = {};
    const MCIERROR error = mciSendStringA(command.c_str(), answer != nullptr ? buffer : nullptr,
                                          answer != nullptr ? answerLength : 0, nullptr);
    if (answer != nullptr) {
        *answer = buffer;
    }
    if (error != 0) {
        return Status::failure("MCI error " + std::to_string(error) + ": " + command);
    }
    return Status::success();
}

}  // namespace pontrel
