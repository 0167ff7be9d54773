#pragma once

#include <string>

#include <cstdint>

#include "platform/KeyAction.h"
#include "platform/MouseButton.h"
#include "platform/wayland/TypingKeymap.h"

namespace pontrel {

// The keysym of a named key.
Keysym namedKeysym(NamedKey key);
// The keysym that types a character; control characters a text may hold are typed as the keys
// that produce them (tab, new line, backspace), the others give XKB_KEY_NoSymbol.
Keysym characterKeysym(char32_t character);
// The keysym name of the key of a virtual-key code ("F5", "Escape", "Return", "q"), as key
// bindings name it; empty for keys that are not bound.
std::string keysymName(int virtualKey);
// The Linux input event code of a mouse button (BTN_LEFT, ...).
std::uint32_t linuxButton(MouseButton button);

}  // namespace pontrel
