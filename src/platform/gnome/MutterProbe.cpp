#include "platform/gnome/MutterProbe.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "platform/gnome/MutterNames.h"
#include "platform/linux/BusAddress.h"

namespace pontrel {

MutterServices probeMutter() {
    const QString name = QStringLiteral("pontrel-mutter-probe");
    MutterServices services;
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(busAddress(Bus::session), name);
        const QDBusConnectionInterface* names = bus.interface();
        if (bus.isConnected() && names != nullptr) {
            services.remoteDesktop = names->isServiceRegistered(mutter::remoteDesktop) &&
                                     names->isServiceRegistered(mutter::screenCast);
            services.displayConfig = names->isServiceRegistered(mutter::displayConfig);
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return services;
}

}  // namespace pontrel
