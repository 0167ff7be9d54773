#pragma once

#include <cmath>
#include <optional>

#include "model/RecordFields.h"

namespace pontrel {

// The panel of a command code: the whole numbers 0 to 10 have one, any other code (negative,
// fractional, above 10) none.
inline std::optional<int> panelCode(double befehl_code) {
    if (befehl_code < 0 || befehl_code > maxCommandCode || std::floor(befehl_code) != befehl_code) {
        return std::nullopt;
    }
    return static_cast<int>(befehl_code);
}

}  // namespace pontrel
