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

// A program started inside a SwaySession, as the session's user. Ended (SIGTERM, then SIGKILL)
// by its process id when the object goes.
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

// A private headless sway (pixman renderer, one 1920x1080 output, XWayland) for one test
// program, with a private runtime folder (0700). sway refuses to run as root, so as root it and
// every program started in it run as an unprivileged user of their own, created if missing.
// The caller's WAYLAND_DISPLAY, DISPLAY and session bus are never used: while the session lives
// this process's environment names the session (WAYLAND_DISPLAY, XDG_RUNTIME_DIR, SWAYSOCK,
// DISPLAY for its XWayland) and no bus, and programs started in it get an environment built
// from nothing but the session.
//
// A virtual keyboard with the given XKB layout stands in for the user's keyboard, so that the
// seat has a layout to read; with an empty layout the seat starts without a keyboard.
class SwaySession {
public:
    // Yes: sway logs every command it runs (to <folder>/sway.log).
    enum class LogCommands { No, Yes };

    explicit SwaySession(const std::string& layout = "us", LogCommands log = LogCommands::No);
    ~SwaySession();
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    // A folder both this process and the session's programs can write to.
    const std::string& folder() const { return folder_; }
    const std::string& xDisplay() const { return xDisplay_; }
    const std::string& swaySocket() const { return swaySocket_; }

    // Starts a program as the session's user with the session's environment plus `extra`;
    // stdout and stderr go to <folder>/<name>.log.
    std::unique_ptr<SessionProcess> start(const std::vector<std::string>& argv,
                                          const std::map<std::string, std::string>& extra,
                                          const std::string& name);
    // Runs swaymsg with the arguments and returns what it printed; throws when it fails.
    std::string swaymsg(const std::vector<std::string>& arguments);
    // The process id of the focused window's client; 0 when no window has the focus.
    pid_t focusedPid();
    // Waits until a window of the process has the focus.
    bool waitForFocus(pid_t pid, int timeoutMs = 10000);

private:
    std::map<std::string, std::string> environment() const;

    std::string folder_;
    std::string runtimeDir_;
    std::string waylandDisplay_;
    std::string swaySocket_;
    std::string xDisplay_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    bool switchUser_ = false;
    std::unique_ptr<SessionProcess> sway_;
    std::unique_ptr<SessionProcess> keyboard_;
};

}  // namespace pontrel::test
