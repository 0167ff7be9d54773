#include "platform/linux/PrivateBus.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace pontrel::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, int keepFd,
                           const std::string& output) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        if (keepFd >= 0) {
            fcntl(keepFd, F_SETFD, 0);
        }
        if (!output.empty()) {
            const int log = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execv(args[0], args.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    // A service stuck in its own shutdown must not hold the test until its time-out.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

PrivateBus::PrivateBus() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return;
    }
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile",
                                 "--print-address=" + std::to_string(fds[1])},
        fds[1]);
    close(fds[1]);
    pollfd waiting{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&waiting, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') {
        address_ += c;
    }
    close(fds[0]);
}

}  // namespace pontrel::test
