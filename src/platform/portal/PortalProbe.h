#pragma once

class QDBusConnection;
class QString;

namespace pontrel {

// The versions of the portal interfaces the program uses; 0 where the desktop lacks one.
struct PortalVersions {
    unsigned remoteDesktop = 0;
    unsigned screenCast = 0;
    unsigned screenshot = 0;
    unsigned globalShortcuts = 0;
};

// Asks the session bus's desktop portal, on a connection of its own that it closes again; works
// before the application object exists.
PortalVersions probePortal();

// The version of org.freedesktop.portal.<interface> on the connection; 0 where it is missing.
unsigned portalInterfaceVersion(const QDBusConnection& connection, const QString& interface);

}  // namespace pontrel
