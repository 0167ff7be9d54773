#pragma once

#include <sys/types.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/wayland/PrivateSession.h"

namespace pontrel::test {

// A private headless sway (pixman renderer, one 1920x1080 output, XWayland unless not wanted)
// for one test
// program, in a PrivateSession. While it lives this process's environment names the session
// (WAYLAND_DISPLAY, XDG_RUNTIME_DIR, SWAYSOCK, DISPLAY for its XWayland) and no bus.
//
// A virtual keyboard with the given XKB layout stands in for the user's keyboard, so that the
// seat has a layout to read; with an empty layout the seat starts without a keyboard.
class SwaySession {
public:
    // Yes: sway logs every command it runs (to <folder>/sway.log).
    enum class LogCommands { No, Yes };
    enum class XWayland { Enabled, Disabled };

    explicit SwaySession(const std::string& layout = "us", LogCommands log = LogCommands::No,
                         XWayland xwayland = XWayland::Enabled);
    ~SwaySession();
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    // A folder both this process and the session's programs can write to.
    const std::string& folder() const { return session_.folder(); }
    // Empty without XWayland.
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
    PrivateSession session_{"sway"};
    std::string waylandDisplay_;
    std::string swaySocket_;
    std::string xDisplay_;
    std::unique_ptr<SessionProcess> sway_;
    std::unique_ptr<SessionProcess> keyboard_;
};

}  // namespace pontrel::test
