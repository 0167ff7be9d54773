#include "engine/KeyTranscript.h"

#include <array>
#include <cstdio>

#include "model/Cp1252.h"

namespace pontrel {

namespace {

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::string characterText(char32_t c) {
    if (isControl(c)) {
        std::array<char, 16> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "U+%04X", static_cast<unsigned>(c));
        return buffer.data();
    }
    std::string text;
    appendUtf8(text, c);
    return text;
}

}  // namespace

std::string describe(const KeyAction& action) {
    switch (action.kind) {
        case KeyAction::Kind::Press:
            return "down " + keyName(action.key);
        case KeyAction::Kind::Release:
            return "up " + keyName(action.key);
        case KeyAction::Kind::Tap:
            return "tap " + keyName(action.key);
        case KeyAction::Kind::Type:
            return "type " + characterText(action.character);
    }
    return "?";
}

std::string describe(const KeyActions& actions) {
    std::string text;
    for (const KeyAction& action : actions) {
        if (!text.empty()) {
            text += '\n';
        }
        text += describe(action);
    }
    return text;
}

}  // namespace pontrel
