#pragma once

#include <string>

namespace pontrel {

// The portal sessions whose approval the desktop may remember, each with a token of its own.
enum class PortalGrant { RemoteDesktop, ScreenCast };

// The token with which the desktop restores the user's approval of a session of ours without
// asking again, kept in the user's configuration folder ($XDG_CONFIG_HOME/pontrel, else
// ~/.config/pontrel), readable by the user alone.
std::string readRestoreToken(PortalGrant grant);
// Replaces the kept token; an empty one removes it.
void keepRestoreToken(PortalGrant grant, const std::string& token);

}  // namespace pontrel
