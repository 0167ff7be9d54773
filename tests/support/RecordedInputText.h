#pragma once

#include <string>

#include "platform/RecordedInput.h"

namespace pontrel::test {

// One recorded input as a short line, for comparing what a recorder saw.
inline std::string describe(const RecordedInput& input) {
    const std::string modifiers = std::string(input.ctrl ? "ctrl+" : "") +
                                  (input.alt ? "alt+" : "") + (input.shift ? "shift+" : "");
    switch (input.kind) {
        case RecordedInput::Kind::Click:
            return "click " + std::to_string(static_cast<int>(input.button)) + " at " +
                   std::to_string(input.x) + "," + std::to_string(input.y);
        case RecordedInput::Kind::Key:
            return "key " + modifiers + input.text;
        case RecordedInput::Kind::Character:
            break;
    }
    return "char " + modifiers + input.text;
}

}  // namespace pontrel::test
