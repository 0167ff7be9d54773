#pragma once

#include <QString>

namespace pontrel {

enum class Bus { system, session };

// The address of the bus as the standard environment names it (DBUS_SYSTEM_BUS_ADDRESS,
// DBUS_SESSION_BUS_ADDRESS, else the session's bus in XDG_RUNTIME_DIR), read at every call;
// empty when there is no session bus. Never one started on demand for the X display.
QString busAddress(Bus bus);

}  // namespace pontrel
