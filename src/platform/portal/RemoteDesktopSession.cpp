#include "platform/portal/RemoteDesktopSession.h"

#include <QDBusObjectPath>

#include "platform/MonitorPlacement.h"

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

std::uint64_t RemoteDesktopSession::starts() {
    const std::lock_guard lock(mutex_);
    return session_.starts();
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
    std::vector<Rect> monitors;
    for (const CastStream& stream : streams) {
        monitors.push_back(Rect{stream.x, stream.y, stream.width, stream.height});
    }
    const std::optional<MonitorPoint> on = placeOnMonitors(monitors, point);
    if (!on) {
        return "the desktop gave no screen-cast stream for absolute pointer moves";
    }
    return bus_.call(remoteDesktop, QStringLiteral("NotifyPointerMotionAbsolute"),
                     {QVariant::fromValue(QDBusObjectPath(session_.handle())), QVariantMap(),
                      streams[on->monitor].node, static_cast<double>(on->offset.x),
                      static_cast<double>(on->offset.y)});
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
