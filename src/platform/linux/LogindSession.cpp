#include "platform/linux/LogindSession.h"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QList>
#include <QString>
#include <QVariant>
#include <cstdlib>
#include <string>

#include "platform/linux/BusAddress.h"

namespace pontrel {

namespace {

const QString logindService = QStringLiteral("org.freedesktop.login1");
const QString logindPath = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");
constexpr int callTimeoutMs = 10000;

// A connection of our own for one action, so that a changed address is honoured next time.
class BusConnection {
public:
    explicit BusConnection(Bus bus)
        : name_(bus == Bus::system ? QStringLiteral("pontrel-system")
                                   : QStringLiteral("pontrel-session")),
          connection_(QDBusConnection::connectToBus(busAddress(bus), name_)) {}
    ~BusConnection() { QDBusConnection::disconnectFromBus(name_); }
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    // The reply, or the error message as the reply of type ErrorMessage.
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QList<QVariant>& arguments = {},
                      bool startService = true) {
        if (!connection_.isConnected()) {
            return QDBusMessage::createError(
                QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
                QStringLiteral("no bus: ") + connection_.lastError().message());
        }
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        message.setAutoStartService(startService);
        return connection_.call(message, QDBus::Block, callTimeoutMs);
    }

private:
    QString name_;
    QDBusConnection connection_;
};

Status statusOf(const QDBusMessage& reply, const char* what) {
    if (reply.type() == QDBusMessage::ErrorMessage) {
        return Status::failure(std::string(what) + ": " + reply.errorMessage().toStdString());
    }
    return Status::success();
}

Status lockLogindSession() {
    BusConnection bus(Bus::system);
    if (const char* sessionId = std::getenv("XDG_SESSION_ID"); sessionId && *sessionId) {
        return statusOf(
            bus.call(logindService, logindPath, managerInterface, QStringLiteral("LockSession"),
                     {QString::fromLocal8Bit(sessionId)}),
            "logind LockSession");
    }
    // Started outside a login session's environment: ask logind which session we belong to.
    const QDBusMessage found =
        bus.call(logindService, logindPath, managerInterface, QStringLiteral("GetSessionByPID"),
                 {QVariant::fromValue(static_cast<uint>(getpid()))});
    if (found.type() == QDBusMessage::ErrorMessage || found.arguments().isEmpty()) {
        return statusOf(found, "logind GetSessionByPID");
    }
    const QString session = found.arguments().front().value<QDBusObjectPath>().path();
    return statusOf(
        bus.call(logindService, session, QStringLiteral("org.freedesktop.login1.Session"),
                 QStringLiteral("Lock")),
        "logind Session.Lock");
}

// The screen savers of the common desktops, asked in turn. None is started for this: one that
// does not run is not the desktop's locker.
Status lockScreenSaver() {
    BusConnection bus(Bus::session);
    Status status = Status::failure("no screen saver");
    for (const char* name : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver"}) {
        const QString service = QString::fromLatin1(name);
        const QString path =
            QLatin1Char('/') + QString(service).replace(QLatin1Char('.'), QLatin1Char('/'));
        status = statusOf(bus.call(service, path, service, QStringLiteral("Lock"), {}, false),
                          "screen saver Lock");
        if (status.ok()) {
            break;
        }
    }
    return status;
}

Status managerCall(const char* method) {
    BusConnection bus(Bus::system);
    return statusOf(
        bus.call(logindService, logindPath, managerInterface, QString::fromLatin1(method), {false}),
        method);
}

}  // namespace

Status LogindSession::lock() {
    const Status logind = lockLogindSession();
    const Status screenSaver = lockScreenSaver();
    if (logind.ok() || screenSaver.ok()) {
        return Status::success();
    }
    return Status::failure(logind.message() + "; " + screenSaver.message());
}

Status LogindSession::reboot() {
    return managerCall("Reboot");
}

Status LogindSession::powerOff() {
    return managerCall("PowerOff");
}

}  // namespace pontrel
