#include "platform/gnome/MutterRemoteDesktop.h"

#include <poll.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QThread>

#include "platform/MonitorPlacement.h"
#include "platform/gnome/MutterMonitors.h"
#include "platform/gnome/MutterNames.h"
#include "platform/gnome/MutterSelectionServer.h"
#include "platform/linux/BusAddress.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

constexpr int callTimeoutMs = 5000;
// Mutter starts the stream a moment after the session; moves before that fail.
constexpr auto streamStartTimeout = 3s;
// The most of one clipboard type kept while we paste, and how long its owner may take.
constexpr std::size_t clipboardLimit = 16 * 1024 * 1024;
constexpr int clipboardReadTimeoutMs = 1000;
constexpr std::uint32_t leftShift = 42;  // evdev KEY_LEFTSHIFT
constexpr auto firstDeviceSettle = 200ms;

// The whole content of a pipe, at most `limit` bytes; nullopt when its writer stalls.
std::optional<std::string> readAll(int fd, std::size_t limit) {
    std::string data;
    char buffer[65536];
    for (;;) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, clipboardReadTimeoutMs) <= 0) {
            return std::nullopt;
        }
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0 || data.size() + static_cast<std::size_t>(n) > limit) {
            return n == 0 ? std::optional(data) : std::nullopt;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
}

std::atomic<int> connections{0};

}  // namespace

struct MutterRemoteDesktop::State {
    // A connection of its own: the session ends with it.
    QString name = QStringLiteral("pontrel-mutter-remote-desktop-%1").arg(++connections);
    QDBusConnection bus = QDBusConnection::connectToBus(busAddress(Bus::session), name);
    QString session;
    QString cast;
    // Every monitor with the stream of it and its area.
    std::vector<MutterMonitor> monitors;
    std::vector<QString> streams;
    std::vector<Rect> areas;
    std::string error;
    QThread serverThread;
    MutterSelectionServer* server = nullptr;
    MutterMonitorChanges* monitorChanges = nullptr;

    // The reply; on an error, records it and returns the error message.
    QDBusMessage call(QDBusMessage message) {
        const QDBusMessage reply = bus.call(message, QDBus::Block, callTimeoutMs);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            error = (message.member() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
        }
        return reply;
    }
    QDBusMessage sessionCall(const QString& method, const QList<QVariant>& arguments = {}) {
        QDBusMessage message = mutter::sessionCall(session, method);
        message.setArguments(arguments);
        return call(message);
    }
    void send(const QString& method, const QList<QVariant>& arguments) {
        QDBusMessage message = mutter::sessionCall(session, method);
        message.setArguments(arguments);
        if (!bus.send(message)) {
            error = "Mutter: connection lost";
        }
    }
    static QString path(const QDBusMessage& reply) {
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                   ? reply.arguments().front().value<QDBusObjectPath>().path()
                   : QString();
    }

    bool start();
    void end();
    bool restart();
    bool keepUp();
    QString record(const QString& connector);
    bool recordMonitors();
    bool streamStarted(const QString& stream);
};

bool MutterRemoteDesktop::State::start() {
    if (!bus.isConnected()) {
        error = "Mutter: no session bus (" + bus.lastError().message().toStdString() + ")";
        return false;
    }
    session = path(call(
        QDBusMessage::createMethodCall(mutter::remoteDesktop, mutter::remoteDesktopPath,
                                       mutter::remoteDesktop, QStringLiteral("CreateSession"))));
    if (session.isEmpty()) {
        return false;
    }
    QDBusMessage idCall = QDBusMessage::createMethodCall(
        mutter::remoteDesktop, session, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    idCall << mutter::remoteDesktopSession << QStringLiteral("SessionId");
    const QDBusMessage id = call(idCall);
    if (id.type() != QDBusMessage::ReplyMessage) {
        return false;
    }
    QDBusMessage castCall =
        QDBusMessage::createMethodCall(mutter::screenCast, mutter::screenCastPath,
                                       mutter::screenCast, QStringLiteral("CreateSession"));
    castCall << QVariantMap{{QStringLiteral("remote-desktop-session-id"),
                             id.arguments().front().value<QDBusVariant>().variant()}};
    cast = path(call(castCall));
    if (cast.isEmpty() || !recordMonitors()) {
        return false;
    }

    server = new MutterSelectionServer(bus, session);
    server->moveToThread(&serverThread);
    bus.connect(mutter::remoteDesktop, session, mutter::remoteDesktopSession,
                QStringLiteral("SelectionTransfer"), server, SLOT(transfer(QString, uint)));
    bus.connect(mutter::remoteDesktop, session, mutter::remoteDesktopSession,
                QStringLiteral("SelectionOwnerChanged"), server, SLOT(ownerChanged(QVariantMap)));

    if (sessionCall(QStringLiteral("Start")).type() != QDBusMessage::ReplyMessage ||
        sessionCall(QStringLiteral("EnableClipboard"), {QVariantMap()}).type() !=
            QDBusMessage::ReplyMessage) {
        return false;
    }
    const auto end = std::chrono::steady_clock::now() + streamStartTimeout;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        while (!streamStarted(streams[i])) {
            if (std::chrono::steady_clock::now() > end) {
                error = "Mutter: the screen cast of the monitor " +
                        monitors[i].connector.toStdString() + " did not start";
                return false;
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    // Mutter makes the keyboard and pointer on their first use and loses what comes at once.
    send(QStringLiteral("NotifyKeyboardKeycode"), {QVariant::fromValue(leftShift), true});
    send(QStringLiteral("NotifyKeyboardKeycode"), {QVariant::fromValue(leftShift), false});
    send(QStringLiteral("NotifyPointerMotionRelative"), {1.0, 1.0});
    send(QStringLiteral("NotifyPointerMotionRelative"), {-1.0, -1.0});
    std::this_thread::sleep_for(firstDeviceSettle);
    error.clear();
    return true;
}

// Stops the session, if any; its selection server goes once its thread has time.
void MutterRemoteDesktop::State::end() {
    if (server != nullptr) {
        bus.disconnect(mutter::remoteDesktop, session, mutter::remoteDesktopSession,
                       QStringLiteral("SelectionTransfer"), server, SLOT(transfer(QString, uint)));
        bus.disconnect(mutter::remoteDesktop, session, mutter::remoteDesktopSession,
                       QStringLiteral("SelectionOwnerChanged"), server,
                       SLOT(ownerChanged(QVariantMap)));
        server->deleteLater();
        server = nullptr;
    }
    if (!session.isEmpty()) {
        sessionCall(QStringLiteral("Stop"));
        session.clear();
    }
}

// A session of its own with streams of the monitors as they are now: mutter ends a session when
// the monitors change. Keys held in the one before are let go.
bool MutterRemoteDesktop::State::restart() {
    end();
    if (!start()) {
        session.clear();
        return false;
    }
    return true;
}

// Restarts the session once the monitors have changed; false when that failed.
bool MutterRemoteDesktop::State::keepUp() {
    return !monitorChanges->take() || restart();
}

// A stream of the monitor at the connector in our screen cast; empty when mutter refuses.
QString MutterRemoteDesktop::State::record(const QString& connector) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        mutter::screenCast, cast, mutter::screenCastSession, QStringLiteral("RecordMonitor"));
    message << connector << QVariantMap();
    return path(call(message));
}

// A stream of every monitor as mutter has them now; false when it tells none or refuses one.
bool MutterRemoteDesktop::State::recordMonitors() {
    std::optional<std::vector<MutterMonitor>> current = readMutterMonitors(bus);
    if (!current || current->empty()) {
        error = "Mutter: the monitors are unknown";
        return false;
    }
    monitors = std::move(*current);
    streams.clear();
    areas.clear();
    for (const MutterMonitor& monitor : monitors) {
        streams.push_back(record(monitor.connector));
        areas.push_back(monitor.area);
        if (streams.back().isEmpty()) {
            return false;
        }
    }
    return true;
}

// Whether mutter has started the stream (it then tells where its monitor is).
bool MutterRemoteDesktop::State::streamStarted(const QString& stream) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        mutter::screenCast, stream, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << mutter::screenCastStream << QStringLiteral("Parameters");
    const QDBusMessage reply = bus.call(get, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    QVariantMap parameters;
    reply.arguments().front().value<QDBusVariant>().variant().value<QDBusArgument>() >> parameters;
    return parameters.contains(QStringLiteral("size"));
}

MutterRemoteDesktop::MutterRemoteDesktop() : state_(std::make_unique<State>()) {
    state_->monitorChanges = new MutterMonitorChanges;
    state_->monitorChanges->moveToThread(&state_->serverThread);
    state_->serverThread.start();
    state_->monitorChanges->watch(state_->bus);
    state_->restart();
}

MutterRemoteDesktop::~MutterRemoteDesktop() {
    state_->end();
    state_->serverThread.quit();
    state_->serverThread.wait();
    delete state_->monitorChanges;
    QDBusConnection::disconnectFromBus(state_->name);
}

bool MutterRemoteDesktop::usable() const {
    return !state_->session.isEmpty() && state_->bus.isConnected();
}

std::string MutterRemoteDesktop::error() const {
    return state_->error;
}

void MutterRemoteDesktop::keycode(std::uint32_t evdevCode, bool down) {
    state_->keepUp();
    state_->send(QStringLiteral("NotifyKeyboardKeycode"), {QVariant::fromValue(evdevCode), down});
}

void MutterRemoteDesktop::button(std::uint32_t evdevButton, bool down) {
    state_->keepUp();
    state_->send(QStringLiteral("NotifyPointerButton"),
                 {QVariant::fromValue(static_cast<int>(evdevButton)), down});
}

bool MutterRemoteDesktop::movePointer(int x, int y) {
    if (!state_->keepUp() || !usable()) {
        return false;
    }
    const std::optional<MonitorPoint> place = placeOnMonitors(state_->areas, {x, y});
    if (!place) {
        state_->error = "Mutter: no monitor";
        return false;
    }
    const double scale = state_->monitors[place->monitor].streamScale;
    state_->send(
        QStringLiteral("NotifyPointerMotionAbsolute"),
        {state_->streams[place->monitor], place->offset.x * scale, place->offset.y * scale});
    return usable();
}

bool MutterRemoteDesktop::sync() {
    QDBusMessage ping = QDBusMessage::createMethodCall(mutter::remoteDesktop, state_->session,
                                                       QStringLiteral("org.freedesktop.DBus.Peer"),
                                                       QStringLiteral("Ping"));
    return state_->call(ping).type() == QDBusMessage::ReplyMessage;
}

ClipboardContent MutterRemoteDesktop::readClipboard() {
    ClipboardContent content;
    if (!usable()) {
        return content;
    }
    for (const QString& type : state_->server->offeredTypes()) {
        const QDBusMessage reply = state_->sessionCall(QStringLiteral("SelectionRead"), {type});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            continue;
        }
        const QDBusUnixFileDescriptor fd =
            reply.arguments().front().value<QDBusUnixFileDescriptor>();
        if (auto data = readAll(fd.fileDescriptor(), clipboardLimit)) {
            content[type.toStdString()] = std::move(*data);
        }
    }
    return content;
}

bool MutterRemoteDesktop::ownClipboard(const ClipboardContent& content) {
    if (!usable()) {
        return false;
    }
    QStringList types;
    for (const auto& [type, data] : content) {
        types << QString::fromStdString(type);
    }
    state_->server->setContent(content);
    return state_
               ->sessionCall(QStringLiteral("SetSelection"),
                             {QVariantMap{{QStringLiteral("mime-types"), types}}})
               .type() == QDBusMessage::ReplyMessage;
}

int MutterRemoteDesktop::clipboardTransfers() const {
    return usable() ? state_->server->transfers() : 0;
}

std::chrono::steady_clock::time_point MutterRemoteDesktop::lastClipboardTransfer() const {
    return usable() ? state_->server->lastTransfer() : std::chrono::steady_clock::time_point();
}

}  // namespace pontrel
