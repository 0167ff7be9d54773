#include "platform/linux/CdromTray.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <sstream>
#include <vector>

namespace pontrel {

namespace {

std::string lowered(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return word;
}

Status deviceFailure(const std::string& device, const char* action, int error) {
    return Status::failure(device + ": " + action + ": " + std::strerror(-error));
}

}  // namespace

CdromTray::~CdromTray() {
    for (const auto& [alias, device] : devices_) {
        io_.close(device.second);
    }
}

Status CdromTray::send(const std::string& command, std::string* answer) {
    if (answer) {
        answer->clear();
    }
    std::istringstream stream(command);
    const std::vector<std::string> words{std::istream_iterator<std::string>(stream),
                                         std::istream_iterator<std::string>()};
    std::vector<std::string> keys;
    std::transform(words.begin(), words.end(), std::back_inserter(keys), lowered);

    if (keys.size() >= 2 && keys[0] == "open") {
        // Options come in pairs after the device; the alias defaults to the device name.
        if (keys.size() % 2 != 0) {
            return Status::failure("incomplete command: " + command);
        }
        std::string alias = keys[1];
        for (std::size_t i = 2; i < keys.size(); i += 2) {
            if (keys[i] == "alias") {
                alias = keys[i + 1];
            } else if (keys[i] != "type") {
                return Status::failure("unknown option: " + words[i]);
            }
        }
        return open(words[1], alias);
    }
    if (keys.size() == 4 && keys[0] == "set" && keys[2] == "door" &&
        (keys[3] == "open" || keys[3] == "closed")) {
        return moveDoor(keys[1], keys[3] == "open");
    }
    if (keys.size() == 2 && keys[0] == "close") {
        return close(keys[1]);
    }
    return Status::failure("unsupported command: " + command);
}

Status CdromTray::open(const std::string& device, const std::string& alias) {
    if (devices_.count(alias) != 0) {
        return Status::failure("alias already in use: " + alias);
    }
    const int fd = io_.open(device);
    if (fd < 0) {
        return deviceFailure(device, "open", fd);
    }
    devices_[alias] = {device, fd};
    return Status::success();
}

Status CdromTray::moveDoor(const std::string& alias, bool open) {
    const auto found = devices_.find(alias);
    if (found == devices_.end()) {
        return Status::failure("no device open as " + alias);
    }
    const auto& [device, fd] = found->second;
    if (open) {
        // A door locked by someone else would refuse to open; a drive without a lock
        // refuses the unlock, which does not matter.
        io_.lockDoor(fd, false);
        const int error = io_.eject(fd);
        return error < 0 ? deviceFailure(device, "eject", error) : Status::success();
    }
    const int error = io_.closeTray(fd);
    return error < 0 ? deviceFailure(device, "close tray", error) : Status::success();
}

Status CdromTray::close(const std::string& alias) {
    const auto found = devices_.find(alias);
    if (found == devices_.end()) {
        return Status::failure("no device open as " + alias);
    }
    io_.close(found->second.second);
    devices_.erase(found);
    return Status::success();
}

}  // namespace pontrel
