#pragma once

#include "platform/DisplayPower.h"
#include "platform/SystemService.h"
#include "platform/linux/CdromTray.h"
#include "platform/linux/LinuxCdromIo.h"
#include "platform/linux/LogindSession.h"
#include "platform/linux/MonitorPower.h"

namespace pontrel {

// The system actions on Linux: programs started detached, the session through logind, the
// monitor through the display server's power control given, CD drives through the kernel's
// cdrom driver.
class LinuxSystemService : public SystemService {
public:
    explicit LinuxSystemService(DisplayPower& display);

    Status startProgram(const std::string& commandLine) override;
    Status lockWorkstation() override;
    Status reboot() override;
    Status shutdown() override;
    Status monitorOff() override;
    std::vector<std::string> cdDriveRoots() override;
    Status mciSendString(const std::string& command, std::string* answer) override;

private:
    LogindSession session_;
    MonitorPower monitor_;
    LinuxCdromIo cdromIo_;
    CdromTray cdrom_;
};

}  // namespace pontrel
