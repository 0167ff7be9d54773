#pragma once

#include <string>
#include <vector>

#include "platform/Status.h"
#include "platform/wayland/InputBlockWatchdog.h"

namespace pontrel {

// Whether KWin lists its input devices on the session bus (it does where it reads real devices).
bool kwinInputDevicesAnswer();

// Blocks the user's keyboards, mice and touchpads through the `enabled` switch KWin offers on the
// session bus for each device it reads. Switches (lid, tablet mode) keep working, and so does
// fake input, ours included: KWin lists no such device. Only devices that are on are switched
// off, and exactly those on again, so a device the user had switched off stays off. Should this
// program end during a block, its watchdog switches them on again (through dbus-send, as a
// process forked from ours cannot use our bus connection).
class KWinInputBlocker {
public:
    KWinInputBlocker() = default;
    // Releases a block.
    ~KWinInputBlocker();
    KWinInputBlocker(const KWinInputBlocker&) = delete;
    KWinInputBlocker& operator=(const KWinInputBlocker&) = delete;

    Status setBlocked(bool blocked);

private:
    Status block();
    Status release();

    bool blocked_ = false;
    // The devices we switched off and have not yet switched on again; the watchdog runs while
    // there are any.
    std::vector<std::string> switchedOff_;
    InputBlockWatchdog watchdog_;
};

}  // namespace pontrel
