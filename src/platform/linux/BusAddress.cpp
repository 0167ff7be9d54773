#include "platform/linux/BusAddress.h"

#include <cstdlib>

namespace pontrel {

QString busAddress(Bus bus) {
    if (bus == Bus::system) {
        const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
        return QString::fromLocal8Bit(address ? address : "unix:path=/run/dbus/system_bus_socket");
    }
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        return QString::fromLocal8Bit(address);
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        return QStringLiteral("unix:path=") + QString::fromLocal8Bit(runtime) +
               QStringLiteral("/bus");
    }
    return {};
}

}  // namespace pontrel
