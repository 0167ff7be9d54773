#pragma once

#include <string>

#include "platform/KeyAction.h"

namespace pontrel {

// One readable line per action: "down Shift", "up Shift", "tap Enter", "type ä". A character
// that would not show (a control character) reads as its code point: "type U+000A".
std::string describe(const KeyAction& action);

// The lines of all actions, joined with "\n" (no newline after the last).
std::string describe(const KeyActions& actions);

}  // namespace pontrel
