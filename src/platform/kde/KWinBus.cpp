#include "platform/kde/KWinBus.h"

namespace pontrel {

QDBusConnection kwinSessionBus() {
    const QString address = QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
    return QDBusConnection::connectToBus(address, QStringLiteral("pontrel-kwin ") + address);
}

}  // namespace pontrel
