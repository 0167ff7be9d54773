#pragma once

#include "platform/DisplayPower.h"

namespace pontrel {

// The monitor power of a desktop that lets no program switch the monitor off: every request
// fails and says so.
class UnavailableDisplayPower : public DisplayPower {
public:
    bool hasDpms() override { return false; }
    Status dpmsOff() override { return unavailable(); }
    Status activateScreenSaver() override { return unavailable(); }

private:
    static Status unavailable() {
        return Status::failure("switching the monitor off is not possible on this desktop");
    }
};

}  // namespace pontrel
