#pragma once

#include "platform/Status.h"

namespace pontrel {

// The display server's ways of blanking the monitor.
class DisplayPower {
public:
    virtual ~DisplayPower() = default;

    // Whether the server can switch the monitor off (DPMS present and capable).
    virtual bool hasDpms() = 0;
    // Enables DPMS if needed and forces the monitor off.
    virtual Status dpmsOff() = 0;
    // Activates the screen saver at once.
    virtual Status activateScreenSaver() = 0;
};

}  // namespace pontrel
