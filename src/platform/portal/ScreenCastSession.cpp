#include "platform/portal/ScreenCastSession.h"

#include <QDBusObjectPath>

#include "platform/portal/PortalBus.h"
#include "platform/portal/RestoreToken.h"

namespace pontrel {

namespace {

const QString screenCast = QStringLiteral("ScreenCast");
constexpr unsigned monitors = 1;
constexpr unsigned persistUntilRevoked = 2;
constexpr unsigned firstPersistingVersion = 4;

}  // namespace

ScreenCastSession::ScreenCastSession(PortalBus& bus) : bus_(bus) {}

ScreenCastSession::~ScreenCastSession() = default;

std::optional<std::string> ScreenCastSession::start() {
    if (session_ != nullptr) {
        return std::nullopt;
    }
    if (!refusal_.empty()) {
        return refusal_;
    }
    const unsigned version = bus_.version(screenCast);
    if (version == 0) {
        return "the desktop offers no ScreenCast portal";
    }
    std::string error;
    std::unique_ptr<PortalSessionHandle> session = bus_.createSession(screenCast, error);
    if (session == nullptr) {
        return error;
    }
    const QVariant path = QVariant::fromValue(QDBusObjectPath(session->handle()));
    QVariantMap sources{{QStringLiteral("types"), monitors}, {QStringLiteral("multiple"), true}};
    if (version >= firstPersistingVersion) {
        sources.insert(QStringLiteral("persist_mode"), persistUntilRevoked);
        if (const std::string token = readRestoreToken(PortalGrant::ScreenCast); !token.empty()) {
            sources.insert(QStringLiteral("restore_token"), QString::fromStdString(token));
        }
    }
    PortalResponse step = bus_.request(screenCast, QStringLiteral("SelectSources"), {path}, sources,
                                       PortalBus::quickAnswer);
    if (step.ok) {
        step = bus_.request(screenCast, QStringLiteral("Start"), {path, QString()}, {},
                            PortalBus::userAnswer);
    }
    if (!step.ok) {
        if (step.declined) {
            refusal_ = step.error + " (Pontrel asks again after a restart)";
        }
        return step.error;
    }
    // The desktop may hand out a new token with every approval.
    if (const QVariant token = step.results.value(QStringLiteral("restore_token"));
        token.isValid()) {
        keepRestoreToken(PortalGrant::ScreenCast, token.toString().toStdString());
    }
    streams_ = castStreams(step.results);
    if (streams_.empty()) {
        return "the ScreenCast portal gave no stream";
    }
    session_ = std::move(session);
    return std::nullopt;
}

void ScreenCastSession::end() {
    session_.reset();
    streams_.clear();
}

std::vector<CastStream> ScreenCastSession::streams() {
    return streams_;
}

int ScreenCastSession::openPipeWireRemote(std::string& error) {
    if (session_ == nullptr) {
        error = "no ScreenCast session runs";
        return -1;
    }
    return pontrel::openPipeWireRemote(bus_, session_->handle(), error);
}

}  // namespace pontrel
