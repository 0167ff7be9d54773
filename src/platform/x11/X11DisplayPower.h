#pragma once

#include "platform/DisplayPower.h"

namespace pontrel {

// DPMS and the screen saver of the X server DISPLAY names, on a connection of its own per call.
class X11DisplayPower : public DisplayPower {
public:
    bool hasDpms() override;
    Status dpmsOff() override;
    Status activateScreenSaver() override;
};

}  // namespace pontrel
