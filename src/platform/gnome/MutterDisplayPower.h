#pragma once

#include "platform/DisplayPower.h"

namespace pontrel {

// The monitor off through mutter's display configuration (power save mode "off"); mutter
// switches it back on at the next input, as after its own blanking.
class MutterDisplayPower final : public DisplayPower {
public:
    bool hasDpms() override { return true; }
    Status dpmsOff() override;
    Status activateScreenSaver() override;
};

}  // namespace pontrel
