#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace pontrel::test {

// A child process of the test, ended (SIGTERM) and reaped with the object.
class ChildProcess {
public:
    // argv[0] is the file executed; keepFd, when not -1, stays open in the child; output, when
    // not empty, is the file its stdout and stderr go to.
    explicit ChildProcess(const std::vector<std::string>& argv, int keepFd = -1,
                          const std::string& output = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

// A message bus of our own (dbus-daemon with the session configuration), so that nothing a test
// sends can reach the machine's system or session bus.
class PrivateBus {
public:
    PrivateBus();

    // Empty when the daemon did not start.
    const std::string& address() const { return address_; }

private:
    std::string address_;
    std::unique_ptr<ChildProcess> daemon_;
};

}  // namespace pontrel::test
