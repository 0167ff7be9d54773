#pragma once

#include <string>

namespace pontrel {

// How the user sets up the two GNOME keyboard shortcuts that run "Pontrel --hotkey start" and
// "--hotkey stop", as gsettings commands for the program at `program`. Pontrel never changes
// the desktop's shortcuts itself.
std::string gnomeHotkeySetup(const std::string& program);

}  // namespace pontrel
