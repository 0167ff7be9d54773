#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace pontrel {

enum class RecordedButton { Left, Middle, Right };

// One thing the user did while a recording ran, as a recorder saw it.
struct RecordedInput {
    enum class Kind {
        Click,      // a mouse button went down
        Character,  // a key produced a character
        Key,        // a named key (Enter, Tab, an arrow, an F-key, ...)
    };
    Kind kind = Kind::Character;
    // Milliseconds on the recorder's own clock; only differences count.
    std::int64_t time = 0;
    // Click: which button and where, in screen pixels.
    RecordedButton button = RecordedButton::Left;
    int x = 0;
    int y = 0;
    // Character: what the user's layout produced (UTF-8). Key: its name as key text writes it
    // ("ENTER", "BS", "F5").
    std::string text;
    // Modifiers held with the key. Shift only counts for named keys: for characters the layout
    // already applied it.
    bool ctrl = false;
    bool alt = false;
    bool shift = false;

    static RecordedInput click(std::int64_t time, RecordedButton button, int x, int y) {
        RecordedInput input;
        input.kind = Kind::Click;
        input.time = time;
        input.button = button;
        input.x = x;
        input.y = y;
        return input;
    }
    // A character or a named key, without modifiers.
    static RecordedInput pressed(Kind kind, std::int64_t time, std::string text) {
        RecordedInput input;
        input.kind = kind;
        input.time = time;
        input.text = std::move(text);
        return input;
    }
};

}  // namespace pontrel
