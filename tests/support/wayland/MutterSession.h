#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/wayland/PrivateSession.h"

namespace pontrel::test {

// A private headless mutter (by default one virtual 1920x1080 monitor) for one test program, in a
// PrivateSession, with a session bus, PipeWire and WirePlumber of its own (screen casts deliver
// no frames without the latter). Mutter alone takes its keyboard layout from the system's locale
// service, so a stand-in for that runs on a private system bus; the layout cannot change while
// the session runs. While it lives this process's environment names the session
// (WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS; DISPLAY and XAUTHORITY with
// XWayland).
//
// Mutter makes no keyboard or pointer until a remote desktop session first uses them.
class MutterSession {
public:
    enum class XWayland { No, Yes };
    // The connector name of the first monitor, at 0,0 in the layout; mutter puts each further
    // one right of the one before, top edges aligned, and names it Meta-1, Meta-2, ...
    static constexpr char monitor[] = "Meta-0";

    // monitors: the size of each virtual monitor ("1024x768").
    explicit MutterSession(const std::string& layout = "us", XWayland xwayland = XWayland::No,
                           const std::vector<std::string>& monitors = {"1920x1080"});
    ~MutterSession();
    MutterSession(const MutterSession&) = delete;
    MutterSession& operator=(const MutterSession&) = delete;

    const std::string& folder() const { return session_.folder(); }
    const std::string& busAddress() const { return busAddress_; }
    // Empty without XWayland.
    const std::string& xDisplay() const { return xDisplay_; }

    std::unique_ptr<SessionProcess> start(const std::vector<std::string>& argv,
                                          const std::map<std::string, std::string>& extra,
                                          const std::string& name);
    std::string run(const std::vector<std::string>& argv, const std::string& name);

private:
    // The file with the key XWayland wants from its clients.
    std::string xAuthority() const;

    PrivateSession session_{"mutter"};
    std::string busAddress_;
    std::string xDisplay_;
    std::unique_ptr<SessionProcess> systemBus_;
    std::unique_ptr<SessionProcess> layoutService_;
    std::unique_ptr<SessionProcess> bus_;
    std::unique_ptr<SessionProcess> pipewire_;
    std::unique_ptr<SessionProcess> wireplumber_;
    std::unique_ptr<SessionProcess> mutter_;
};

}  // namespace pontrel::test
