#pragma once

#include <map>
#include <string>

#include "platform/Status.h"
#include "platform/linux/CdromIo.h"

namespace pontrel {

// The MCI command strings of the CD tray, carried out on a cdrom device:
//   "open <device> [type <type>] [alias <alias>]"  opens the device under the alias
//   "set <alias> door open" / "set <alias> door closed"  moves the tray
//   "close <alias>"  closes the device
// Words are compared regardless of case, as MCI does. Open devices are closed on destruction.
class CdromTray {
public:
    explicit CdromTray(CdromIo& io) : io_(io) {}
    ~CdromTray();
    CdromTray(const CdromTray&) = delete;
    CdromTray& operator=(const CdromTray&) = delete;

    // The answer text of these commands is always empty.
    Status send(const std::string& command, std::string* answer);

private:
    Status open(const std::string& device, const std::string& alias);
    Status moveDoor(const std::string& alias, bool open);
    Status close(const std::string& alias);

    CdromIo& io_;
    std::map<std::string, std::pair<std::string, int>> devices_;  // alias -> device, descriptor
};

}  // namespace pontrel
