#include "platform/wayland/SwayInputBlocker.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
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

// The watchdog's life: wait until the pipe says something or closes; on a close without a
// word, enable the devices.
[[noreturn]] void watch(int pipe, const sockaddr_un& address, const std::string& message) {
    char word = 0;
    ssize_t got = 0;
    do {
        got = read(pipe, &word, 1);
    } while (got < 0 && errno == EINTR);
    if (got == 0) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd >= 0 &&
            connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            write(fd, message.data(), message.size()) == static_cast<ssize_t>(message.size())) {
            char reply[256];
            (void)read(fd, reply, sizeof reply);  // sway has run the commands once it answers
        }
    }
    _exit(0);
}

}  // namespace

SwayInputBlocker::SwayInputBlocker()
    : SwayInputBlocker(std::getenv("SWAYSOCK") != nullptr ? std::getenv("SWAYSOCK") : "") {}

SwayInputBlocker::SwayInputBlocker(std::string socketPath) : socketPath_(std::move(socketPath)) {}

SwayInputBlocker::~SwayInputBlocker() {
    if (watchdog_ > 0) {
        (void)setBlocked(false);
    }
}

Status SwayInputBlocker::setBlocked(bool blocked) {
    if (blocked && watchdog_ <= 0 && !startWatchdog()) {
        return Status::failure("cannot start the watchdog that ends an input block");
    }
    if (!SwayIpc(socketPath_).command(inputCommands(!blocked))) {
        if (blocked) {
            stopWatchdog();
        }
        return Status::failure("sway did not change the input devices");
    }
    if (!blocked) {
        stopWatchdog();
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
    const std::string message = enableMessage();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // Alone: no terminal's signals, and none of our connections kept open, so that servers
        // still see this program end.
        setsid();
        signal(SIGINT, SIG_IGN);
        signal(SIGHUP, SIG_IGN);
        if (dup2(fds[0], STDIN_FILENO) < 0) {
            _exit(1);
        }
        close_range(STDERR_FILENO + 1, ~0U, 0);
        watch(STDIN_FILENO, address, message);
    }
    close(fds[0]);
    if (pid < 0) {
        close(fds[1]);
        return false;
    }
    watchdog_ = pid;
    watchdogPipe_ = fds[1];
    return true;
}

void SwayInputBlocker::stopWatchdog() {
    if (watchdog_ <= 0) {
        return;
    }
    const char done = 'x';
    (void)write(watchdogPipe_, &done, 1);
    close(watchdogPipe_);
    waitpid(watchdog_, nullptr, 0);
    watchdog_ = -1;
    watchdogPipe_ = -1;
}

}  // namespace pontrel
