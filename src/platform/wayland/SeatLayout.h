#pragma once

#include <string>

namespace pontrel {

class WaylandConnection;

// The user's keyboard layout as an xkb keymap text: the keymap the seat's keyboard has (every
// client is given it, focused or not); without a keyboard on the seat, the layout of the
// XKB_DEFAULT_* variables or "us". Empty when neither can be had.
std::string readUserLayout(WaylandConnection& connection);

}  // namespace pontrel
