#include "platform/portal/RemoteDesktopSession.h"

#include <algorithm>

#include <QDBusObjectPath>

namespace pontrel {

namespace {

const QString remoteDesktop = QStringLiteral("RemoteDesktop");
constexpr unsigned keyboardAndPointer = 1 | 2;
constexpr unsigned monitors = 1;
constexpr unsigned firstPersistingVersion = 2;

}  // namespace

RemoteDesktopSession::RemoteDesktopSession(PortalBus& bus)
    : bus_(bus), session_(bus, remoteDesktop, PortalGrant::RemoteDesktop, firstPersistingVersion) {}

RemoteDesktopSession::~RemoteDesktopSession() = default;

std::optional<std::string> RemoteDesktopSession::start() {
    const std::lock_guard lock(mutex_);
    return startLocked();
}

std::vector<CastStream> RemoteDesktopSession::streams() {
    const std::lock_guard lock(mutex_);
    return session_.streams();
}

int RemoteDesktopSession::openPipeWireRemote(std::string& error) {
    const std::lock_guard lock(mutex_);
    if (session_.handle().isEmpty()) {
        error = "no RemoteDesktop session runs";
        return -1;
    }
    return pontrel::openPipeWireRemote(bus_, session_.handle(), error);
}

std::optional<std::string> RemoteDesktopSession::startLocked() {
    return session_.start([this](const QVariant& path, QVariantMap remember) {
        remember.insert(QStringLiteral("types"), keyboardAndPointer);
        PortalResponse step = bus_.request(remoteDesktop, QStringLiteral("SelectDevices"), {path},
                                           remember, PortalBus::quickAnswer);
        if (step.ok && bus_.version(QStringLiteral("ScreenCast")) > 0) {
            step = bus_.request(
                QStringLiteral("ScreenCast"), QStringLiteral("SelectSources"), {path},
                {{QStringLiteral("types"), monitors}, {QStringLiteral("multiple"), true}},
                PortalBus::quickAnswer);
        }
        return step;
    });
}

std::optional<std::string> RemoteDesktopSession::key(std::uint32_t keysym, bool down) {
    const std::lock_guard lock(mutex_);
    if (auto error = startLocked()) {
        return error;
    }
    return bus_.call(remoteDesktop, QStringLiteral("NotifyKeyboardKeysym"),
                     {QVariant::fromValue(QDBusObjectPath(session_.handle())), QVariantMap(),
                      static_cast<int>(keysym), down ? 1U : 0U});
}

std::optional<std::string> RemoteDesktopSession::moveTo(ScreenPoint point) {
    const std::lock_guard lock(mutex_);
    if (auto error = startLocked()) {
        return error;
    }
    const std::vector<CastStream>& streams = session_.streams();
    if (streams.empty()) {
        return "the desktop gave no screen-cast stream for absolute pointer moves";
    }
    const auto on = std::find_if(streams.begin(), streams.end(), [point](const CastStream& stream) {
        return point.x >= stream.x && point.x < stream.x + stream.width && point.y >= stream.y &&
               point.y < stream.y + stream.height;
    });
    const CastStream& stream = on != streams.end() ? *on : streams.front();
    const int x = std::clamp(point.x - stream.x, 0, std::max(stream.width - 1, 0));
    const int y = std::clamp(point.y - stream.y, 0, std::max(stream.height - 1, 0));
    return bus_.call(remoteDesktop, QStringLiteral("NotifyPointerMotionAbsolute"),
                     {QVariant::fromValue(QDBusObjectPath(session_.handle())), QVariantMap(),
                      stream.node, static_cast<double>(x), static_cast<double>(y)});
}

std::optional<std::string> RemoteDesktopSession::button(int code, bool down) {
    const std::lock_guard lock(mutex_);
    if (auto error = startLocked()) {
        return error;
    }
    return bus_.call(remoteDesktop, QStringLiteral("NotifyPointerButton"),
                     {QVariant::fromValue(QDBusObjectPath(session_.handle())), QVariantMap(), code,
                      down ? 1U : 0U});
}

}  // namespace pontrel
