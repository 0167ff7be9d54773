#include "platform/linux/LinuxSystemService.h"

#include "platform/linux/DriveList.h"
#include "platform/linux/ProgramLauncher.h"

namespace pontrel {

namespace {

// Long enough for the key or button that triggered the command to be released.
constexpr std::chrono::milliseconds monitorSettle{300};

}  // namespace

LinuxSystemService::LinuxSystemService(DisplayPower& display)
    : monitor_(display, monitorSettle), cdrom_(cdromIo_) {}

Status LinuxSystemService::startProgram(const std::string& commandLine) {
    const auto command = resolveProgramCommand(commandLine);
    if (!command) {
        return Status::failure("no program to start: " + commandLine);
    }
    return startDetached(*command);
}

Status LinuxSystemService::lockWorkstation() {
    return session_.lock();
}

Status LinuxSystemService::reboot() {
    return session_.reboot();
}

Status LinuxSystemService::shutdown() {
    return session_.powerOff();
}

Status LinuxSystemService::monitorOff() {
    return monitor_.switchOff();
}

std::vector<std::string> LinuxSystemService::cdDriveRoots() {
    return cdromDevices();
}

Status LinuxSystemService::mciSendString(const std::string& command, std::string* answer) {
    return cdrom_.send(command, answer);
}

}  // namespace pontrel
