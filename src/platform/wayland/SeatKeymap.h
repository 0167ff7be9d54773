#pragma once

#include <string>

namespace pontrel {

class WaylandConnection;

// The keymap of the seat's keyboard: the user's layout; empty when the seat has no keyboard.
std::string readSeatKeymap(WaylandConnection& connection);
// The keymap the XKB_DEFAULT_* variables name, else the "us" layout.
std::string keymapFromEnvironment();

}  // namespace pontrel
