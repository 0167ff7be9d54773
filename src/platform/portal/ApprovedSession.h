#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "platform/portal/CastSession.h"
#include "platform/portal/PortalBus.h"
#include "platform/portal/RestoreToken.h"

namespace pontrel {

// A portal session the user approves when it starts. Where the portal can persist it, the
// desktop is asked to remember the approval, and the restore token it gives is kept for the next
// start, so that the desktop asks once. Once the user has declined, the desktop is not asked
// again while the program runs. A session the desktop closes (the user stopped sharing) is
// started anew, with the token, when next used.
class ApprovedSession {
public:
    // Makes the session's selections, the one that persists with the options in `remember`
    // (empty where the portal cannot); the response of the last.
    using Select = std::function<PortalResponse(const QVariant& session, QVariantMap remember)>;

    // `interface` is org.freedesktop.portal.<interface>, which persists from `persistingVersion`.
    ApprovedSession(PortalBus& bus, QString interface, PortalGrant grant,
                    unsigned persistingVersion);
    ~ApprovedSession();
    ApprovedSession(const ApprovedSession&) = delete;
    ApprovedSession& operator=(const ApprovedSession&) = delete;

    // Starts the session unless it runs: nothing, or why it does not run.
    std::optional<std::string> start(const Select& select);
    void end();

    // Of the running session.
    const QString& handle() const;
    const std::vector<CastStream>& streams() const { return streams_; }
    // Counts the starts: a new value means a new session with new streams.
    std::uint64_t starts() const { return starts_; }

private:
    PortalBus& bus_;
    QString interface_;
    PortalGrant grant_;
    unsigned persistingVersion_;
    std::unique_ptr<PortalSessionHandle> session_;
    std::vector<CastStream> streams_;
    std::string refusal_;
    std::uint64_t starts_ = 0;
};

}  // namespace pontrel
