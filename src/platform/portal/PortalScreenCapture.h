#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PictureWriter.h"
#include "platform/ScreenService.h"
#include "platform/pipewire/PipeWireFrames.h"
#include "platform/portal/CastSession.h"

namespace pontrel {

// Reads the screen through a portal session's screen-cast streams and PipeWire: a stream of every
// monitor, approved once by the user. A monitor's stream stays open while it is asked for (the
// pixel watch asks every 10 ms), so each capture takes the newest frame at once; unasked for a
// second, it ends, and the next capture opens it again. When the desktop closes the session, the
// next capture starts a new one and connects to its streams. Pictures are written by the writer
// given. Used from one thread.
class PortalScreenCapture final : public ScreenService {
public:
    using Log = std::function<void(const std::string&)>;

    PortalScreenCapture(CastSession& session, PictureWriter& pictures, Log log);
    ~PortalScreenCapture() override;
    PortalScreenCapture(const PortalScreenCapture&) = delete;
    PortalScreenCapture& operator=(const PortalScreenCapture&) = delete;

    // The box around the monitors of the session; the first call starts it.
    ScreenSize screenSize() override;
    // An empty bitmap when the desktop gave no picture.
    Bitmap capture(int x, int y, int width, int height) override;

    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    bool connect();
    std::optional<Frame> frameOf(std::size_t monitor);
    void disconnect();
    void report(const std::string& failure);

    CastSession& session_;
    std::vector<CastStream> monitors_;  // of the session connected to
    std::uint64_t connectedTo_ = 0;     // that session's start
    std::unique_ptr<PipeWireFrames> frames_;
    std::vector<std::unique_ptr<FrameStream>> streams_;  // one per monitor, open while asked for
    PictureWriter& pictures_;
    Log log_;
    std::string lastReport_;
};

}  // namespace pontrel
