#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ScreenPoint.h"
#include "platform/portal/ApprovedSession.h"
#include "platform/portal/CastSession.h"

namespace pontrel {

// A session of the RemoteDesktop portal with keyboard and pointer, and a screen-cast stream of
// every monitor in the same session (absolute pointer moves name one). Where the portal can
// persist the session (version 2), the user's approval is kept with a restore token, so that
// the desktop asks once. Its streams may serve the screen capture too: the input's thread and the
// capture's may use it at once.
class RemoteDesktopSession final : public CastSession {
public:
    explicit RemoteDesktopSession(PortalBus& bus);
    ~RemoteDesktopSession() override;
    RemoteDesktopSession(const RemoteDesktopSession&) = delete;
    RemoteDesktopSession& operator=(const RemoteDesktopSession&) = delete;

    // Once the user has declined, the desktop is not asked again while the program runs.
    std::optional<std::string> start() override;
    std::vector<CastStream> streams() override;
    std::uint64_t starts() override;
    int openPipeWireRemote(std::string& error) override;

    // Each starts the session first; nothing, or the error.
    std::optional<std::string> key(std::uint32_t keysym, bool down);
    // Screen pixels; a point on no monitor goes to the nearest edge of the first.
    std::optional<std::string> moveTo(ScreenPoint point);
    // An evdev button code (BTN_LEFT = 0x110, ...).
    std::optional<std::string> button(int code, bool down);

private:
    std::optional<std::string> startLocked();

    std::mutex mutex_;  // guards the session
    PortalBus& bus_;
    ApprovedSession session_;
};

}  // namespace pontrel
