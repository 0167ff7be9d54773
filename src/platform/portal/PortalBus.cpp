#include "platform/portal/PortalBus.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QObject>
#include <QThread>

#include "platform/linux/BusAddress.h"
#include "platform/portal/PortalProbe.h"

namespace pontrel {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// For the method calls themselves; an answer that needs the user comes later, as a signal.
constexpr int callTimeoutMs = 10000;

std::atomic<unsigned> tokens{0};

QString fullInterface(const QString& interface) {
    return QStringLiteral("org.freedesktop.portal.") + interface;
}

QString nextToken() {
    return QStringLiteral("pontrel%1").arg(++tokens);
}

// What the portal's Response codes mean, for a person.
std::string responseError(unsigned code, const QString& method) {
    const std::string what = method.toStdString();
    if (code == 1) {
        return what + ": the user declined the request of the desktop";
    }
    return what + ": the desktop ended the request without a result (code " + std::to_string(code) +
           ")";
}

struct Waiter {
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<std::pair<unsigned, QVariantMap>> response;
};

}  // namespace

// Receives the bus's signals on the portal thread and hands them on.
class PortalSignals : public QObject {
    Q_OBJECT
public:
    std::mutex mutex;                                    // guards the three maps
    std::map<QString, std::shared_ptr<Waiter>> waiters;  // by Request path
    std::map<QString, std::vector<std::function<void(const QDBusMessage&)>>> handlers;
    std::map<QString, std::shared_ptr<std::atomic<bool>>> sessions;  // closed, by Session path

public slots:
    void response(const QDBusMessage& message) {
        std::shared_ptr<Waiter> waiter;
        {
            const std::lock_guard lock(mutex);
            const auto it = waiters.find(message.path());
            if (it == waiters.end()) {
                return;
            }
            waiter = it->second;
        }
        const QVariantList arguments = message.arguments();
        if (arguments.size() < 2) {
            return;
        }
        const std::lock_guard lock(waiter->mutex);
        waiter->response.emplace(arguments[0].toUInt(), qdbus_cast<QVariantMap>(arguments[1]));
        waiter->answered.notify_all();
    }

    void sessionClosed(const QDBusMessage& message) {
        const std::lock_guard lock(mutex);
        if (const auto it = sessions.find(message.path()); it != sessions.end()) {
            *it->second = true;
        }
    }

    void signal(const QDBusMessage& message) {
        std::vector<std::function<void(const QDBusMessage&)>> called;
        {
            const std::lock_guard lock(mutex);
            const auto it = handlers.find(message.interface() + '.' + message.member());
            if (it != handlers.end()) {
                called = it->second;
            }
        }
        for (const auto& handler : called) {
            handler(message);
        }
    }
};

struct PortalBus::Impl {
    Impl()
        : name(QStringLiteral("pontrel-portal-%1").arg(++tokens)),
          connection(QDBusConnection::connectToBus(busAddress(Bus::session), name)) {
        receiver.moveToThread(&thread);
        thread.start();
    }
    ~Impl() {
        QDBusConnection::disconnectFromBus(name);
        thread.quit();
        thread.wait();
    }

    // The Request object a call with this token makes.
    QString requestPath(const QString& token) const {
        QString sender = connection.baseService().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        return QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender +
               QLatin1Char('/') + token;
    }
    void watch(const QString& path, std::shared_ptr<Waiter> waiter) {
        {
            const std::lock_guard lock(receiver.mutex);
            receiver.waiters[path] = std::move(waiter);
        }
        connection.connect(portalService, path, requestInterface, QStringLiteral("Response"),
                           &receiver, SLOT(response(QDBusMessage)));
    }
    void unwatch(const QString& path) {
        connection.disconnect(portalService, path, requestInterface, QStringLiteral("Response"),
                              &receiver, SLOT(response(QDBusMessage)));
        const std::lock_guard lock(receiver.mutex);
        receiver.waiters.erase(path);
    }

    std::shared_ptr<std::atomic<bool>> watchSession(const QString& path) {
        auto closed = std::make_shared<std::atomic<bool>>(false);
        {
            const std::lock_guard lock(receiver.mutex);
            receiver.sessions[path] = closed;
        }
        connection.connect(portalService, path, sessionInterface, QStringLiteral("Closed"),
                           &receiver, SLOT(sessionClosed(QDBusMessage)));
        return closed;
    }
    // Whether the desktop closed the session already.
    bool unwatchSession(const QString& path) {
        connection.disconnect(portalService, path, sessionInterface, QStringLiteral("Closed"),
                              &receiver, SLOT(sessionClosed(QDBusMessage)));
        const std::lock_guard lock(receiver.mutex);
        const auto it = receiver.sessions.find(path);
        if (it == receiver.sessions.end()) {
            return false;
        }
        const bool closed = *it->second;
        receiver.sessions.erase(it);
        return closed;
    }

    QString name;
    QDBusConnection connection;
    QThread thread;
    PortalSignals receiver;
};

PortalBus::PortalBus() : impl_(std::make_unique<Impl>()) {}

PortalBus::~PortalBus() = default;

bool PortalBus::connected() const {
    return impl_->connection.isConnected();
}

unsigned PortalBus::version(const QString& interface) {
    return portalInterfaceVersion(impl_->connection, interface);
}

PortalResponse PortalBus::request(const QString& interface, const QString& method,
                                  const QVariantList& arguments, QVariantMap options,
                                  std::chrono::milliseconds timeout) {
    if (!connected()) {
        return {false, false, "no session bus for the desktop portal", {}};
    }
    const QString token = nextToken();
    options.insert(QStringLiteral("handle_token"), token);
    // Subscribed before the call: the answer may come before the call returns.
    const auto waiter = std::make_shared<Waiter>();
    const QString expected = impl_->requestPath(token);
    impl_->watch(expected, waiter);
    QDBusMessage message =
        QDBusMessage::createMethodCall(portalService, portalPath, fullInterface(interface), method);
    message.setArguments(QVariantList(arguments) << options);
    const QDBusMessage reply = impl_->connection.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        impl_->unwatch(expected);
        return {false, false, method.toStdString() + ": " + reply.errorMessage().toStdString(), {}};
    }
    // Portals older than the handle token choose the path themselves.
    const QString handle = reply.arguments().front().value<QDBusObjectPath>().path();
    if (handle != expected) {
        impl_->watch(handle, waiter);
    }
    std::unique_lock lock(waiter->mutex);
    waiter->answered.wait_for(lock, timeout, [&waiter] { return waiter->response.has_value(); });
    const auto response = waiter->response;
    lock.unlock();
    impl_->unwatch(expected);
    impl_->unwatch(handle);
    if (!response) {
        QDBusMessage close = QDBusMessage::createMethodCall(portalService, handle, requestInterface,
                                                            QStringLiteral("Close"));
        impl_->connection.call(close, QDBus::NoBlock);
        return {
            false,
            false,
            method.toStdString() + ": no answer from the desktop within " +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()) +
                " s",
            {}};
    }
    const unsigned code = response->first;
    if (code != 0) {
        return {false, code == 1, responseError(code, method), {}};
    }
    return {true, false, {}, response->second};
}

std::optional<std::string> PortalBus::call(const QString& interface, const QString& method,
                                           const QVariantList& arguments, QVariantList* replies) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(portalService, portalPath, fullInterface(interface), method);
    message.setArguments(arguments);
    const QDBusMessage reply = impl_->connection.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        if (replies != nullptr) {
            *replies = reply.arguments();
        }
        return std::nullopt;
    }
    return method.toStdString() + ": " + reply.errorMessage().toStdString();
}

std::unique_ptr<PortalSessionHandle> PortalBus::createSession(const QString& interface,
                                                              std::string& error) {
    const PortalResponse created =
        request(interface, QStringLiteral("CreateSession"), {},
                {{QStringLiteral("session_handle_token"), nextToken()}}, quickAnswer);
    if (!created.ok) {
        error = created.error;
        return nullptr;
    }
    // A string in the results, an object path in some versions.
    const QVariant result = created.results.value(QStringLiteral("session_handle"));
    const QString handle = result.canConvert<QDBusObjectPath>()
                               ? result.value<QDBusObjectPath>().path()
                               : result.toString();
    return std::make_unique<PortalSessionHandle>(*this, handle, impl_->watchSession(handle));
}

void PortalBus::closeSession(const QString& handle) {
    const bool closedByDesktop = impl_->unwatchSession(handle);
    if (!closedByDesktop && !handle.isEmpty() && connected()) {
        const QDBusMessage close = QDBusMessage::createMethodCall(
            portalService, handle, sessionInterface, QStringLiteral("Close"));
        impl_->connection.call(close, QDBus::Block, callTimeoutMs);
    }
}

void PortalBus::subscribe(const QString& interface, const QString& member,
                          std::function<void(const QDBusMessage&)> handler) {
    bool first = false;
    {
        const std::lock_guard lock(impl_->receiver.mutex);
        auto& handlers = impl_->receiver.handlers[fullInterface(interface) + '.' + member];
        first = handlers.empty();
        handlers.push_back(std::move(handler));
    }
    if (first) {
        impl_->connection.connect(portalService, portalPath, fullInterface(interface), member,
                                  &impl_->receiver, SLOT(signal(QDBusMessage)));
    }
}

}  // namespace pontrel

#include "PortalBus.moc"
