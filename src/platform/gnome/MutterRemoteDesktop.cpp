#include "platform/gnome/MutterRemoteDesktop.h"

#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QThread>

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
    QString stream;
    int streamX = 0;
    int streamY = 0;
    int streamWidth = 0;
    int streamHeight = 0;
    std::string error;
    QThread serverThread;
    MutterSelectionServer* server = nullptr;

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
    bool readStreamPlace();
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
    const QString cast = path(call(castCall));
    if (cast.isEmpty()) {
        return false;
    }
    // The primary monitor.
    QDBusMessage record = QDBusMessage::createMethodCall(
        mutter::screenCast, cast, mutter::screenCastSession, QStringLiteral("RecordMonitor"));
    record << QString() << QVariantMap();
    stream = path(call(record));
    if (stream.isEmpty()) {
        return false;
    }

    server = new MutterSelectionServer(bus, session);
    server->moveToThread(&serverThread);
    serverThread.start();
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
    while (!readStreamPlace()) {
        if (std::chrono::steady_clock::now() > end) {
            error = "Mutter: the screen cast of the monitor did not start";
            return false;
        }
        std::this_thread::sleep_for(20ms);
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

// Where the stream's monitor is in the layout, once mutter has started the stream.
bool MutterRemoteDesktop::State::readStreamPlace() {
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
    if (!parameters.contains(QStringLiteral("size"))) {
        return false;
    }
    const auto pair = [&](const char* key, int& first, int& second) {
        const QDBusArgument argument =
            parameters.value(QString::fromLatin1(key)).value<QDBusArgument>();
        argument.beginStructure();
        argument >> first >> second;
        argument.endStructure();
    };
    pair("position", streamX, streamY);
    pair("size", streamWidth, streamHeight);
    return streamWidth > 0 && streamHeight > 0;
}

MutterRemoteDesktop::MutterRemoteDesktop() : state_(std::make_unique<State>()) {
    if (!state_->start()) {
        state_->session.clear();
    }
}

MutterRemoteDesktop::~MutterRemoteDesktop() {
    if (!state_->session.isEmpty()) {
        state_->sessionCall(QStringLiteral("Stop"));
    }
    state_->serverThread.quit();
    state_->serverThread.wait();
    delete state_->server;
    QDBusConnection::disconnectFromBus(state_->name);
}

bool MutterRemoteDesktop::usable() const {
    return !state_->session.isEmpty() && state_->bus.isConnected();
}

std::string MutterRemoteDesktop::error() const {
    return state_->error;
}

void MutterRemoteDesktop::keycode(std::uint32_t evdevCode, bool down) {
    state_->send(QStringLiteral("NotifyKeyboardKeycode"), {QVariant::fromValue(evdevCode), down});
}

void MutterRemoteDesktop::button(std::uint32_t evdevButton, bool down) {
    state_->send(QStringLiteral("NotifyPointerButton"),
                 {QVariant::fromValue(static_cast<int>(evdevButton)), down});
}

bool MutterRemoteDesktop::movePointer(int x, int y) {
    const double streamX = std::clamp(x - state_->streamX, 0, state_->streamWidth - 1);
    const double streamY = std::clamp(y - state_->streamY, 0, state_->streamHeight - 1);
    state_->send(QStringLiteral("NotifyPointerMotionAbsolute"), {state_->stream, streamX, streamY});
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
    return state_->server->transfers();
}

std::chrono::steady_clock::time_point MutterRemoteDesktop::lastClipboardTransfer() const {
    return state_->server->lastTransfer();
}

}  // namespace pontrel
