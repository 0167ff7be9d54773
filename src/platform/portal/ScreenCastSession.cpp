#include "platform/portal/ScreenCastSession.h"

namespace pontrel {

namespace {

const QString screenCast = QStringLiteral("ScreenCast");
constexpr unsigned monitors = 1;
constexpr unsigned firstPersistingVersion = 4;

}  // namespace

ScreenCastSession::ScreenCastSession(PortalBus& bus)
    : bus_(bus), session_(bus, screenCast, PortalGrant::ScreenCast, firstPersistingVersion) {}

std::optional<std::string> ScreenCastSession::start() {
    auto error = session_.start([this](const QVariant& path, QVariantMap remember) {
        remember.insert(QStringLiteral("types"), monitors);
        remember.insert(QStringLiteral("multiple"), true);
        return bus_.request(screenCast, QStringLiteral("SelectSources"), {path}, remember,
                            PortalBus::quickAnswer);
    });
    if (!error && session_.streams().empty()) {
        session_.end();
        error = "the ScreenCast portal gave no stream";
    }
    return error;
}

std::vector<CastStream> ScreenCastSession::streams() {
    return session_.streams();
}

std::uint64_t ScreenCastSession::starts() {
    return session_.starts();
}

int ScreenCastSession::openPipeWireRemote(std::string& error) {
    if (session_.handle().isEmpty()) {
        error = "no ScreenCast session runs";
        return -1;
    }
    return pontrel::openPipeWireRemote(bus_, session_.handle(), error);
}

}  // namespace pontrel
