#include "platform/gnome/MutterScreenCast.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariant>
#include <QVariantMap>
#include <atomic>
#include <optional>

#include "platform/gnome/MutterMonitors.h"
#include "platform/gnome/StreamAnnouncements.h"
#include "platform/linux/BusAddress.h"

namespace pontrel {

namespace {

const QString service = QStringLiteral("org.gnome.Mutter.ScreenCast");
const QString servicePath = QStringLiteral("/org/gnome/Mutter/ScreenCast");
const QString sessionInterface = QStringLiteral("org.gnome.Mutter.ScreenCast.Session");
const QString streamInterface = QStringLiteral("org.gnome.Mutter.ScreenCast.Stream");
constexpr int callTimeoutMs = 5000;
constexpr unsigned cursorHidden = 0;

QString uniqueConnectionName() {
    static std::atomic<int> count{0};
    return QStringLiteral("pontrel-screencast-") + QString::number(++count);
}

bool screenCastOn(const QDBusConnection& bus) {
    return bus.isConnected() && bus.interface()->isServiceRegistered(service).value();
}

}  // namespace

MutterScreenCast::MutterScreenCast()
    : connectionName_(uniqueConnectionName()),
      bus_(QDBusConnection::connectToBus(busAddress(Bus::session), connectionName_)),
      announcements_(new StreamAnnouncements),
      monitorChanges_(new MutterMonitorChanges) {
    announcements_->moveToThread(&announcementThread_);
    monitorChanges_->moveToThread(&announcementThread_);
    announcementThread_.start();
    bus_.connect(service, QString(), streamInterface, QStringLiteral("PipeWireStreamAdded"),
                 announcements_, SLOT(streamAdded(QDBusMessage)));
    monitorChanges_->watch(bus_);
}

MutterScreenCast::~MutterScreenCast() {
    QDBusConnection::disconnectFromBus(connectionName_);
    announcementThread_.quit();
    announcementThread_.wait();
    delete announcements_;
    delete monitorChanges_;
}

bool MutterScreenCast::offered() {
    const QString name = uniqueConnectionName();
    const bool offered =
        screenCastOn(QDBusConnection::connectToBus(busAddress(Bus::session), name));
    QDBusConnection::disconnectFromBus(name);
    return offered;
}

bool MutterScreenCast::usable() {
    return screenCastOn(bus_);
}

Recording MutterScreenCast::recordArea(int x, int y, int width, int height,
                                       std::chrono::milliseconds timeout) {
    auto call = [this](const QString& path, const QString& interface, const QString& method,
                       const QList<QVariant>& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        return bus_.call(message, QDBus::Block, callTimeoutMs);
    };
    auto failed = [](const QDBusMessage& reply) {
        return reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty();
    };
    Recording recording;
    const QDBusMessage created = call(servicePath, QStringLiteral("org.gnome.Mutter.ScreenCast"),
                                      QStringLiteral("CreateSession"), {QVariantMap{}});
    if (failed(created)) {
        recording.error =
            "mutter made no screen-cast session: " + created.errorMessage().toStdString();
        return recording;
    }
    recording.session = created.arguments().first().value<QDBusObjectPath>().path();
    const QDBusMessage area =
        call(recording.session, sessionInterface, QStringLiteral("RecordArea"),
             {x, y, width, height,
              QVariantMap{{QStringLiteral("cursor-mode"), QVariant::fromValue(cursorHidden)}}});
    const QDBusMessage started =
        failed(area) ? area
                     : call(recording.session, sessionInterface, QStringLiteral("Start"), {});
    const QString stream =
        failed(area) ? QString() : area.arguments().first().value<QDBusObjectPath>().path();
    std::optional<std::uint32_t> node;
    if (started.type() != QDBusMessage::ReplyMessage) {
        recording.error = "mutter did not record the area: " + started.errorMessage().toStdString();
    } else if (node = announcements_->take(stream, timeout); !node) {
        recording.error = "mutter announced no PipeWire stream";
    }
    if (!recording.ok()) {
        stop(recording.session);
        recording.session.clear();
    } else {
        recording.node = *node;
    }
    return recording;
}

bool MutterScreenCast::monitorsChanged() {
    return monitorChanges_->take();
}

void MutterScreenCast::stop(const QString& session) {
    bus_.call(
        QDBusMessage::createMethodCall(service, session, sessionInterface, QStringLiteral("Stop")),
        QDBus::Block, callTimeoutMs);
}

}  // namespace pontrel
