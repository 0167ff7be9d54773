#pragma once

#include "platform/DisplayPower.h"

namespace pontrel {

// Monitor off on KDE Plasma through KWin's DPMS protocol, monitor by monitor, on a Wayland
// connection opened for each request. KWin has no screen saver to start.
class KWinDisplayPower final : public DisplayPower {
public:
    // Whether KWin can switch at least one monitor off.
    bool hasDpms() override;
    // Asks KWin to switch every monitor that can off; waits until KWin has said it did.
    Status dpmsOff() override;
    Status activateScreenSaver() override;
};

}  // namespace pontrel
