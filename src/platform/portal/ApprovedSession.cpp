#include "platform/portal/ApprovedSession.h"

#include <cstdio>

#include <QDBusObjectPath>

namespace pontrel {

namespace {

constexpr unsigned persistUntilRevoked = 2;

}  // namespace

ApprovedSession::ApprovedSession(PortalBus& bus, QString interface, PortalGrant grant,
                                 unsigned persistingVersion)
    : bus_(bus),
      interface_(std::move(interface)),
      grant_(grant),
      persistingVersion_(persistingVersion) {}

ApprovedSession::~ApprovedSession() = default;

std::optional<std::string> ApprovedSession::start(const Select& select) {
    if (session_ != nullptr && !session_->closedByDesktop()) {
        return std::nullopt;
    }
    if (session_ != nullptr) {
        std::fprintf(stderr, "portal: the desktop closed the %s session; starting a new one\n",
                     interface_.toUtf8().constData());
        end();
    }
    if (!refusal_.empty()) {
        return refusal_;
    }
    const unsigned version = bus_.version(interface_);
    if (version == 0) {
        return "the desktop offers no " + interface_.toStdString() + " portal";
    }
    std::string error;
    std::unique_ptr<PortalSessionHandle> session = bus_.createSession(interface_, error);
    if (session == nullptr) {
        return error;
    }
    const QVariant path = QVariant::fromValue(QDBusObjectPath(session->handle()));
    QVariantMap remember;
    if (version >= persistingVersion_) {
        remember.insert(QStringLiteral("persist_mode"), persistUntilRevoked);
        if (const std::string token = readRestoreToken(grant_); !token.empty()) {
            remember.insert(QStringLiteral("restore_token"), QString::fromStdString(token));
        }
    }
    PortalResponse step = select(path, remember);
    if (step.ok) {
        step = bus_.request(interface_, QStringLiteral("Start"), {path, QString()}, {},
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
        keepRestoreToken(grant_, token.toString().toStdString());
    }
    streams_ = castStreams(step.results);
    session_ = std::move(session);
    ++starts_;
    return std::nullopt;
}

void ApprovedSession::end() {
    session_.reset();
    streams_.clear();
}

const QString& ApprovedSession::handle() const {
    static const QString none;
    return session_ != nullptr ? session_->handle() : none;
}

}  // namespace pontrel
