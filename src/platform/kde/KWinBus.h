#pragma once

#include <QDBusConnection>

namespace pontrel {

// The session bus of $DBUS_SESSION_BUS_ADDRESS as it is now: unlike Qt's one session bus of a
// process, a new address gives a connection of its own.
QDBusConnection kwinSessionBus();

}  // namespace pontrel
