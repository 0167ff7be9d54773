#pragma once

#include "platform/KeyAction.h"
#include "platform/wayland/TypingKeymap.h"

namespace pontrel {

// The keysym of a named key of the design.
Keysym namedKeysym(NamedKey key);
// The keysym that types a character: control characters a text may hold as the keys that
// produce them (tab, newline, backspace), 0 (NoSymbol) for the other control characters.
Keysym characterKeysym(char32_t character);
// Keys that switch the virtual terminal or end the session: never sent.
bool switchesTerminalOrEndsSession(Keysym keysym);

}  // namespace pontrel
