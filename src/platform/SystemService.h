#pragma once

#include <string>
#include <vector>

#include "platform/Status.h"

namespace pontrel {

// Actions on the computer rather than on pointer and keyboard.
class SystemService {
public:
    virtual ~SystemService() = default;

    // Starts a program from a command line (path, optionally followed by arguments), detached.
    virtual Status startProgram(const std::string& commandLine) = 0;
    virtual Status lockWorkstation() = 0;
    virtual Status reboot() = 0;
    virtual Status shutdown() = 0;
    virtual Status monitorOff() = 0;

    // The roots of the CD drives, in order ("E:\" on Windows, "/dev/sr0" on Linux).
    virtual std::vector<std::string> cdDriveRoots() = 0;
    // One MCI command string of the CD tray ("Open … Type cdaudio Alias cd", "set cd door
    // open", "set cd door closed", "close cd"); the answer text goes to *answer when given.
    virtual Status mciSendString(const std::string& command, std::string* answer) = 0;
};

}  // namespace pontrel
