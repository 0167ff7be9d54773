#pragma once

#include <string>

namespace pontrel {

// The token with which the desktop restores the user's approval of our remote-desktop session
// without asking again, kept in the user's configuration folder ($XDG_CONFIG_HOME/pontrel, else
// ~/.config/pontrel), readable by the user alone.
std::string readRestoreToken();
// Replaces the kept token; an empty one removes it.
void keepRestoreToken(const std::string& token);

}  // namespace pontrel
