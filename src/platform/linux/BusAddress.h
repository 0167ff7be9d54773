#pragma once

#include <QString>

namespace pontrel {

enum class Bus { system, session };

// The address of the bus as the standard environment names it (DBUS_SYSTEM_BUS_ADDRESS,
// DBUS_SESSION_BUS_ADDRESS, else the usual sockets), read at every call so that a changed
// address is honoured; empty when no session bus is known.
QString busAddress(Bus bus);

}  // namespace pontrel
