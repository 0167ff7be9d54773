#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/wayland/PrivateSession.h"

namespace pontrel::test {

// A private kwin_wayland (virtual backend, one 1920x1080 output, no XWayland) for one test
// program, in a PrivateSession with a session bus of its own. KWin's binary carries a file
// capability that a container may refuse to grant; a copy without it, still named kwin_wayland
// (its platform plugin checks the name), runs instead. The keyboard layout is set in a private
// configuration folder. While it lives this process's environment names the session
// (WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS).
//
// Open: KWin's permission checks are off, every client gets fake input and screenshots.
// Checked: KWin grants them only to the programs named in `allowed`, through desktop files
// of the content given (its Exec= line is replaced by the program's path) in a private data
// folder, as a package installs them.
class KWinSession {
public:
    enum class Permissions { Open, Checked };

    explicit KWinSession(const std::string& layout = "us",
                         Permissions permissions = Permissions::Open,
                         const std::string& desktopFile = {},
                         const std::vector<std::string>& allowed = {});
    ~KWinSession();
    KWinSession(const KWinSession&) = delete;
    KWinSession& operator=(const KWinSession&) = delete;

    const std::string& folder() const { return session_.folder(); }

    std::unique_ptr<SessionProcess> start(const std::vector<std::string>& argv,
                                          const std::map<std::string, std::string>& extra,
                                          const std::string& name);
    std::string run(const std::vector<std::string>& argv, const std::string& name);

private:
    // KWin hands fake input only to clients whose program it can read, which needs the same
    // user: the session runs as ours.
    PrivateSession session_{"kwin", PrivateSession::User::Caller};
    std::unique_ptr<SessionProcess> bus_;
    std::unique_ptr<SessionProcess> kwin_;
};

}  // namespace pontrel::test
