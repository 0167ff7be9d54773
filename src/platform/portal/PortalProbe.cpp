#include "platform/portal/PortalProbe.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>

#include "platform/linux/BusAddress.h"

namespace pontrel {

namespace {

// Long enough for a desktop that starts its portal on demand.
constexpr int probeTimeoutMs = 5000;

}  // namespace

unsigned portalInterfaceVersion(const QDBusConnection& connection, const QString& interface) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message.setArguments(
        {QStringLiteral("org.freedesktop.portal.") + interface, QStringLiteral("version")});
    const QDBusMessage reply = connection.call(message, QDBus::Block, probeTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return 0;
    }
    return reply.arguments().front().value<QDBusVariant>().variant().toUInt();
}

PortalVersions probePortal() {
    const QString name = QStringLiteral("pontrel-portal-probe");
    PortalVersions versions;
    const QString address = busAddress(Bus::session);
    if (address.isEmpty()) {
        return versions;
    }
    {
        const QDBusConnection connection = QDBusConnection::connectToBus(address, name);
        if (connection.isConnected()) {
            versions.remoteDesktop =
                portalInterfaceVersion(connection, QStringLiteral("RemoteDesktop"));
            versions.screenCast = portalInterfaceVersion(connection, QStringLiteral("ScreenCast"));
            versions.screenshot = portalInterfaceVersion(connection, QStringLiteral("Screenshot"));
            versions.globalShortcuts =
                portalInterfaceVersion(connection, QStringLiteral("GlobalShortcuts"));
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return versions;
}

}  // namespace pontrel
