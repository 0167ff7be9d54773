#pragma once

#include <chrono>

#include "platform/DisplayPower.h"
#include "platform/Status.h"

namespace pontrel {

// Switches the monitor off: by DPMS where the server has it, else by the screen saver.
class MonitorPower {
public:
    // settle: the pause before switching, so that the release of the key or button that
    // triggered it (any input wakes the monitor) is over.
    MonitorPower(DisplayPower& display, std::chrono::milliseconds settle)
        : display_(display), settle_(settle) {}

    Status switchOff();

private:
    DisplayPower& display_;
    std::chrono::milliseconds settle_;
};

}  // namespace pontrel
