#include "platform/gnome/MutterDisplayPower.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include "platform/gnome/MutterNames.h"
#include "platform/linux/BusAddress.h"

namespace pontrel {

namespace {

constexpr int powerSaveOff = 3;

}  // namespace

Status MutterDisplayPower::dpmsOff() {
    QDBusMessage set = QDBusMessage::createMethodCall(
        mutter::displayConfig, mutter::displayConfigPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    set << mutter::displayConfig << QStringLiteral("PowerSaveMode")
        << QVariant::fromValue(QDBusVariant(powerSaveOff));
    const QString name = QStringLiteral("pontrel-mutter-display-power");
    QDBusMessage reply;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(busAddress(Bus::session), name);
        reply = bus.call(set);
    }
    QDBusConnection::disconnectFromBus(name);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        return Status::failure("Mutter: monitor not switched off: " +
                               reply.errorMessage().toStdString());
    }
    return Status::success();
}

Status MutterDisplayPower::activateScreenSaver() {
    return dpmsOff();
}

}  // namespace pontrel
