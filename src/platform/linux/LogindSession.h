#pragma once

#include "platform/Status.h"

namespace pontrel {

// Session lock, reboot and power off through systemd-logind on the system bus. The buses are
// the ones the standard environment names (DBUS_SYSTEM_BUS_ADDRESS, DBUS_SESSION_BUS_ADDRESS),
// read at every call.
class LogindSession {
public:
    // logind's lock only tells the session's locker to lock, so the desktop's screen saver on
    // the session bus is asked as well. Succeeds when either accepted the request.
    Status lock();
    // Without asking for credentials: a refusal is a failure.
    Status reboot();
    Status powerOff();
};

}  // namespace pontrel
