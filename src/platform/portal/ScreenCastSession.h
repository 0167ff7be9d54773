#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/portal/ApprovedSession.h"
#include "platform/portal/CastSession.h"

namespace pontrel {

// A session of the ScreenCast portal with a stream of every monitor. Where the portal can
// persist it (version 4), the user's approval is kept with a restore token, so that the desktop
// asks once. Used from one thread.
class ScreenCastSession final : public CastSession {
public:
    explicit ScreenCastSession(PortalBus& bus);

    // Once the user has declined, the desktop is not asked again while the program runs.
    std::optional<std::string> start() override;
    std::vector<CastStream> streams() override;
    std::uint64_t starts() override;
    int openPipeWireRemote(std::string& error) override;

private:
    PortalBus& bus_;
    ApprovedSession session_;
};

}  // namespace pontrel
