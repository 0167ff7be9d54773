#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QVariantMap>

namespace pontrel {

// A screen-cast stream of one monitor: its PipeWire node and where the monitor lies, in
// logical pixels.
struct CastStream {
    std::uint32_t node = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class PortalBus;

// A portal session with a screen-cast stream of every monitor: of the ScreenCast portal, or of
// RemoteDesktop, whose one approval then covers input and the screen.
class CastSession {
public:
    virtual ~CastSession() = default;

    // Starts the session unless it runs: nothing, or why it does not run.
    virtual std::optional<std::string> start() = 0;
    // The streams of the running session.
    virtual std::vector<CastStream> streams() = 0;
    // Changes whenever a new session replaces the last, as after the desktop closed it.
    virtual std::uint64_t starts() = 0;
    // A PipeWire connection that sees the running session's streams: its descriptor, or -1
    // with the reason in `error`.
    virtual int openPipeWireRemote(std::string& error) = 0;
};

// The streams in the results of a session's Start.
std::vector<CastStream> castStreams(const QVariantMap& startResults);

// The ScreenCast portal's PipeWire connection for the session with this handle, as
// CastSession::openPipeWireRemote.
int openPipeWireRemote(PortalBus& bus, const QString& session, std::string& error);

}  // namespace pontrel
