#pragma once

#include <sys/types.h>
#include <optional>
#include <string>
#include <vector>

namespace pontrel::e2e {

// A program started by a test: its own current directory, stdout and stderr into a log file.
// Ended (SIGTERM, then SIGKILL) when the object goes, if it still runs.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& folder,
                 const std::string& logFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // The exit code (128 + signal number after a signal) once it ended within timeoutMs.
    std::optional<int> waitExit(int timeoutMs);
    bool running();
    void terminate();

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Runs a tool to its end and returns what it printed on stdout; throws when it cannot start,
// exits with another code than 0 or takes longer than timeoutMs.
std::string runTool(const std::vector<std::string>& argv, int timeoutMs = 10000);

}  // namespace pontrel::e2e
