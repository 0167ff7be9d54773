#pragma once

#include <string>
#include <vector>

namespace pontrel {

// The keys a key text can name besides characters. Modifiers come first.
enum class NamedKey {
    Shift,
    Ctrl,
    Alt,
    Backspace,
    Break,
    CapsLock,
    Clear,
    Delete,
    Down,
    End,
    Enter,
    Escape,
    Help,
    Home,
    Insert,
    Left,
    NumLock,
    PageDown,
    PageUp,
    PrintScreen,
    Right,
    ScrollLock,
    Tab,
    Up,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16,
    NumpadAdd,
    NumpadSubtract,
    NumpadMultiply,
    NumpadDivide,
};

// One step of typing: a modifier or named key pressed or released, a named key tapped, or one
// character typed (the backend adds whatever the layout needs to produce it).
struct KeyAction {
    enum class Kind { Press, Release, Tap, Type };
    Kind kind = Kind::Type;
    NamedKey key = NamedKey::Enter;  // Press, Release, Tap
    char32_t character = 0;          // Type

    bool operator==(const KeyAction&) const = default;
};

using KeyActions = std::vector<KeyAction>;

// Readable names ("Shift", "F4", "Enter") used in transcripts and messages.
std::string keyName(NamedKey key);

// The Windows virtual-key code of a named key (VK_RETURN = 13, VK_F1 = 0x70, ...).
int virtualKeyCode(NamedKey key);

}  // namespace pontrel
