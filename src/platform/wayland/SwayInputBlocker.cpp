#include "platform/wayland/SwayInputBlocker.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/wayland/SwayIpc.h"

namespace pontrel {

namespace {

constexpr const char* deviceTypes[] = {"keyboard", "pointer", "touchpad"};

std::string inputCommands(bool enabled) {
    std::string commands;
    for (const char* type : deviceTypes) {
        commands += std::string(commands.empty() ? "" : "; ") + "input type:" + type +
                    (enabled ? " events enabled" : " events disabled");
    }
    return commands;
}

// The whole IPC message that enables the devices, built before the fork: the watchdog may only
// make system calls.
std::string enableMessage() {
    const std::string payload = inputCommands(true);
    std::string message = "i3-ipc";
    const auto length = static_cast<std::uint32_t>(payload.size());
    const std::uint32_t runCommand = 0;
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&runCommand), sizeof runCommand);
    return message + payload;
}

// Enables the devices; in the watchdog, so system calls only.
void enableDevices(const sockaddr_un& address, const std::string& message) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        write(fd, message.data(), message.size()) == static_cast<ssize_t>(message.size())) {
        char reply[256];
        (void)read(fd, reply, sizeof reply);  // sway has run the commands once it answers
    }
}

}  // namespace

SwayInputBlocker::SwayInputBlocker()
    : SwayInputBlocker(std::getenv("SWAYSOCK") != nullptr ? std::getenv("SWAYSOCK") : "") {}

SwayInputBlocker::SwayInputBlocker(std::string socketPath) : socketPath_(std::move(socketPath)) {}

SwayInputBlocker::~SwayInputBlocker() {
    if (watchdog_.running()) {
        (void)setBlocked(false);
    }
}

Status SwayInputBlocker::setBlocked(bool blocked) {
    if (blocked && !startWatchdog()) {
        return Status::failure("cannot start the watchdog that ends an input block");
    }
    if (!SwayIpc(socketPath_).command(inputCommands(!blocked))) {
        if (blocked) {
            watchdog_.stop();
        }
        return Status::failure("sway did not change the input devices");
    }
    if (!blocked) {
        watchdog_.stop();
    }
    return Status::success();
}

bool SwayInputBlocker::startWatchdog() {
    sockaddr_un address{};
    if (socketPath_.empty() || socketPath_.size() >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size());
    return watchdog_.start(
        [address, message = enableMessage()] { enableDevices(address, message); });
}

}  // namespace pontrel
