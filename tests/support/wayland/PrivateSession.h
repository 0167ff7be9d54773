#pragma once

#include <sys/types.h>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pontrel::test {

// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::string& path);
// Checks done() every 10 ms until it holds or the time is up; returns done().
bool eventually(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// A program started inside a private session, as the session's user, in a process group of its
// own. Ended (SIGTERM, then SIGKILL, to its process group) by its process id when the object goes.
class SessionProcess {
public:
    SessionProcess(pid_t pid, std::string logFile) : pid_(pid), logFile_(std::move(logFile)) {}
    ~SessionProcess();
    SessionProcess(const SessionProcess&) = delete;
    SessionProcess& operator=(const SessionProcess&) = delete;

    pid_t pid() const { return pid_; }
    const std::string& logFile() const { return logFile_; }
    bool running();
    // The exit code (128 + signal number after a signal) once it ended within timeoutMs.
    std::optional<int> waitExit(int timeoutMs);
    void kill(int signalNumber);

private:
    pid_t pid_;
    std::string logFile_;
    std::optional<int> status_;
};

// What every private desktop of a test program stands on: a folder of its own with a runtime
// folder (0700) and a home, owned by the user the desktop runs as. Desktops such as sway refuse
// to run as root, so as root that is an unprivileged user of its own, created if missing.
//
// The caller's WAYLAND_DISPLAY, DISPLAY and session bus are never used: from the start this
// process's environment names the private runtime folder and no display or bus, until the
// desktop publishes its own; programs started in it get an environment built from nothing but
// the session's variables. Everything goes (variables, folder) when the object does.
class PrivateSession {
public:
    // Caller: the session runs as this process's user, root included, for a desktop that
    // serves only clients of its own user and must serve this process.
    enum class User { Unprivileged, Caller };

    // The folder is /tmp/pontrel-<kind>-XXXXXX.
    explicit PrivateSession(const std::string& kind, User user = User::Unprivileged);
    ~PrivateSession();
    PrivateSession(const PrivateSession&) = delete;
    PrivateSession& operator=(const PrivateSession&) = delete;

    // A folder both this process and the session's programs can write to.
    const std::string& folder() const { return folder_; }
    const std::string& runtimeDir() const { return runtimeDir_; }
    // An address where no bus listens: what "no session bus" is, for sessions without one.
    std::string noBus() const;

    // Adds variables to what the session's programs get and sets them in this process too.
    void publish(const std::map<std::string, std::string>& variables);
    // Starts a program as the session's user with the session's environment plus `extra`;
    // stdout and stderr go to <folder>/<name>.log.
    std::unique_ptr<SessionProcess> start(const std::vector<std::string>& argv,
                                          const std::map<std::string, std::string>& extra,
                                          const std::string& name);
    // Starts a bus daemon (session bus configuration) listening on the socket and waits until it
    // takes connections.
    std::unique_ptr<SessionProcess> startBus(const std::string& socket, const std::string& name);
    // Runs a program to its end (10 s at most) and returns what it printed; throws when it fails.
    std::string run(const std::vector<std::string>& argv, const std::string& name);

private:
    std::string folder_;
    std::string runtimeDir_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    bool switchUser_ = false;
    std::map<std::string, std::string> published_;
};

}  // namespace pontrel::test
