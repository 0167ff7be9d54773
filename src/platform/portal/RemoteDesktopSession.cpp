#include "platform/portal/RemoteDesktopSession.h"

#include <algorithm>

#include <QDBusObjectPath>

#include "platform/portal/PortalBus.h"
#include "platform/portal/RestoreToken.h"

namespace pontrel {

namespace {

const QString remoteDesktop = QStringLiteral("RemoteDesktop");
constexpr unsigned keyboardAndPointer = 1 | 2;
constexpr unsigned monitors = 1;
constexpr unsigned persistUntilRevoked = 2;

}  // namespace

RemoteDesktopSession::RemoteDesktopSession(PortalBus& bus) : bus_(bus) {}

RemoteDesktopSession::~RemoteDesktopSession() = default;

std::optional<std::string> RemoteDesktopSession::start() {
    const std::lock_guard lock(mutex_);
    return startLocked();
}

void RemoteDesktopSession::end() {
    const std::lock_guard lock(mutex_);
    session_.reset();
    streams_.clear();
}

std::vector<CastStream> RemoteDesktopSession::streams() {
    const std::lock_guard lock(mutex_);
    return streams_;
}

int RemoteDesktopSession::openPipeWireRemote(std::string& error) {
    const std::lock_guard lock(mutex_);
    if (session_ == nullptr) {
        error = "no RemoteDesktop session runs";
        return -1;
    }
    return pontrel::openPipeWireRemote(bus_, session_->handle(), error);
}

std::optional<std::string> RemoteDesktopSession::startLocked() {
    if (session_ != nullptr) {
        return std::nullopt;
    }
    if (!refusal_.empty()) {
        return refusal_;
    }
    const unsigned version = bus_.version(remoteDesktop);
    if (version == 0) {
        return "the desktop offers no RemoteDesktop portal";
    }
    std::string error;
    std::unique_ptr<PortalSessionHandle> session = bus_.createSession(remoteDesktop, error);
    if (session == nullptr) {
        return error;
    }
    const QVariant path = QVariant::fromValue(QDBusObjectPath(session->handle()));
    QVariantMap devices{{QStringLiteral("types"), keyboardAndPointer}};
    if (version >= 2) {
        devices.insert(QStringLiteral("persist_mode"), persistUntilRevoked);
        if (const std::string token = readRestoreToken(PortalGrant::RemoteDesktop);
            !token.empty()) {
            devices.insert(QStringLiteral("restore_token"), QString::fromStdString(token));
        }
    }
    PortalResponse step = bus_.request(remoteDesktop, QStringLiteral("SelectDevices"), {path},
                                       devices, PortalBus::quickAnswer);
    if (step.ok && bus_.version(QStringLiteral("ScreenCast")) > 0) {
        step =
            bus_.request(QStringLiteral("ScreenCast"), QStringLiteral("SelectSources"), {path},
                         {{QStringLiteral("types"), monitors}, {QStringLiteral("multiple"), true}},
                         PortalBus::quickAnswer);
    }
    if (step.ok) {
        step = bus_.request(remoteDesktop, QStringLiteral("Start"), {path, QString()}, {},
                            PortalBus::userAnswer);
    }
    if (!step.ok) {
        if (step.declined) {
            refusal_ = step.error + " (Pontrel asks again after a restart)";
        }
        return step.error;
    }
    if (const QVariant token = step.results.value(QStringLiteral("restore_token"));
        token.isValid()) {
        keepRestoreToken(PortalGrant::RemoteDesktop, token.toString().toStdString());
    }
    streams_ = castStreams(step.results);
    session_ = std::move(session);
    return std::nullopt;
}

std::optional<std::string> RemoteDesktopSession::key(std::uint32_t keysym, bool down) {
    const std::lock_guard lock(mutex_);
    if (auto error = startLocked()) {
        return error;
    }
    return bus_.call(remoteDesktop, QStringLiteral("NotifyKeyboardKeysym"),
                     {QVariant::fromValue(QDBusObjectPath(session_->handle())), QVariantMap(),
                      static_cast<int>(keysym), down ? 1U : 0U});
}

std::optional<std::string> RemoteDesktopSession::moveTo(ScreenPoint point) {
    const std::lock_guard lock(mutex_);
    if (auto error = startLocked()) {
        return error;
    }
    if (streams_.empty()) {
        return "the desktop gave no screen-cast stream for absolute pointer moves";
    }
    const auto on =
        std::find_if(streams_.begin(), streams_.end(), [point](const CastStream& stream) {
            return point.x >= stream.x && point.x < stream.x + stream.width &&
                   point.y >= stream.y && point.y < stream.y + stream.height;
        });
    const CastStream& stream = on != streams_.end() ? *on : streams_.front();
    const int x = std::clamp(point.x - stream.x, 0, std::max(stream.width - 1, 0));
    const int y = std::clamp(point.y - stream.y, 0, std::max(stream.height - 1, 0));
    return bus_.call(remoteDesktop, QStringLiteral("NotifyPointerMotionAbsolute"),
                     {QVariant::fromValue(QDBusObjectPath(session_->handle())), QVariantMap(),
                      stream.node, static_cast<double>(x), static_cast<double>(y)});
}

std::optional<std::string> RemoteDesktopSession::button(int code, bool down) {
    const std::lock_guard lock(mutex_);
    if (auto error = startLocked()) {
        return error;
    }
    return bus_.call(remoteDesktop, QStringLiteral("NotifyPointerButton"),
                     {QVariant::fromValue(QDBusObjectPath(session_->handle())), QVariantMap(), code,
                      down ? 1U : 0U});
}

}  // namespace pontrel
