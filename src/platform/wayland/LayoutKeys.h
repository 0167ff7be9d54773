#pragma once

#include <string>

#include "platform/KeyAction.h"
#include "platform/wayland/TypingKeymap.h"

namespace pontrel {

class WaylandConnection;

// The keysym of a named key.
Keysym namedKeysym(NamedKey key);
// The keysym that types a character: control characters a text may hold as the keys that give
// them (tab, newline, backspace), other control characters none (NoSymbol).
Keysym characterKeysym(char32_t character);

// The keymap of the seat's keyboard: the user's layout; empty when the seat has no keyboard.
std::string readSeatKeymap(WaylandConnection& connection);
// The keymap the XKB_DEFAULT_* variables name, else the "us" layout.
std::string keymapFromEnvironment();

}  // namespace pontrel
