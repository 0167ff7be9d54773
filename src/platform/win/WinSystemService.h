#pragma once

#include <functional>

#include <windows.h>

#include "platform/SystemService.h"

namespace pontrel {

// Program start, session, power, monitor and CD drive through kernel32, user32, winmm and WMI.
class WinSystemService : public SystemService {
public:
    // monitorWindow gives the window whose system command switches the monitor off.
    explicit WinSystemService(std::function<HWND()> monitorWindow);

    Status startProgram(const std::string& commandLine) override;
    Status lockWorkstation() override;
    Status reboot() override;
    Status shutdown() override;
    Status monitorOff() override;
    std::vector<std::string> cdDriveRoots() override;
    Status mciSendString(const std::string& command, std::string* answer) override;

private:
    std::function<HWND()> monitorWindow_;
};

}  // namespace pontrel
