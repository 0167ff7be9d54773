#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ScreenPoint.h"
#include "platform/portal/CastStreams.h"

namespace pontrel {

class PortalBus;
class PortalSessionHandle;

// A session of the RemoteDesktop portal with keyboard and pointer, and a screen-cast stream of
// every monitor in the same session (absolute pointer moves name one). Where the portal can
// persist the session (version 2), the user's approval is kept with a restore token, so that
// the desktop asks once. Used from one thread.
class RemoteDesktopSession {
public:
    explicit RemoteDesktopSession(PortalBus& bus);
    ~RemoteDesktopSession();
    RemoteDesktopSession(const RemoteDesktopSession&) = delete;
    RemoteDesktopSession& operator=(const RemoteDesktopSession&) = delete;

    // Starts the session unless it runs: nothing, or why it does not run. Once the user has
    // declined, the desktop is not asked again while the program runs.
    std::optional<std::string> start();

    // Each starts the session first; nothing, or the error.
    std::optional<std::string> key(std::uint32_t keysym, bool down);
    // Screen pixels; a point on no monitor goes to the nearest edge of the first.
    std::optional<std::string> moveTo(ScreenPoint point);
    // An evdev button code (BTN_LEFT = 0x110, ...).
    std::optional<std::string> button(int code, bool down);

private:
    PortalBus& bus_;
    std::unique_ptr<PortalSessionHandle> session_;
    std::vector<CastStream> streams_;
    std::string refusal_;
};

}  // namespace pontrel
