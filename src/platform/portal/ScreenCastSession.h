#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/portal/CastStreams.h"

namespace pontrel {

class PortalBus;
class PortalSessionHandle;

// A session of the ScreenCast portal with a stream of every monitor. Where the portal can
// persist it (version 4), the user's approval is kept with a restore token, so that the desktop
// asks once. Used from one thread.
class ScreenCastSession {
public:
    explicit ScreenCastSession(PortalBus& bus);
    ~ScreenCastSession();
    ScreenCastSession(const ScreenCastSession&) = delete;
    ScreenCastSession& operator=(const ScreenCastSession&) = delete;

    // Starts the session unless it runs: nothing, or why it does not run. Once the user has
    // declined, the desktop is not asked again while the program runs.
    std::optional<std::string> start();
    // Ends a session whose streams failed; the next start makes a new one.
    void end();

    // The streams of the running session.
    const std::vector<CastStream>& streams() const { return streams_; }
    // A PipeWire connection that sees the running session's streams: its descriptor, or -1 with
    // the reason in `error`.
    int openPipeWireRemote(std::string& error);

private:
    PortalBus& bus_;
    std::unique_ptr<PortalSessionHandle> session_;
    std::vector<CastStream> streams_;
    std::string refusal_;
};

}  // namespace pontrel
