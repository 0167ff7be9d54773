#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/PictureWriter.h"
#include "platform/ScreenService.h"
#include "platform/controls/Rect.h"
#include "platform/gnome/MutterScreenCast.h"
#include "platform/pipewire/PipeWireFrames.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

// Reads the screen of GNOME through mutter's screen cast and PipeWire. A small area (the pixel
// watch asks for the same one every 10 ms) keeps its stream open while it is asked for: mutter
// sends a frame whenever the desktop redraws, so each poll answers at once with the newest one.
// When the monitors change, the watch takes a new stream: the old one may stand still.
// Larger areas take one frame of a stream of their own. Pictures are written by the writer given.
// Used from one thread.
class GnomeScreenCapture final : public ScreenService {
public:
    using Log = std::function<void(const std::string&)>;

    GnomeScreenCapture(PictureWriter& pictures, Log log);
    ~GnomeScreenCapture() override;
    GnomeScreenCapture(const GnomeScreenCapture&) = delete;
    GnomeScreenCapture& operator=(const GnomeScreenCapture&) = delete;

    // False when mutter's screen cast or PipeWire is missing.
    bool usable();

    // The layout of every monitor, in logical pixels.
    ScreenSize screenSize() override;
    Bitmap capture(int x, int y, int width, int height) override;

    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    struct Watch {
        Rect area;
        QString session;
        std::unique_ptr<FrameStream> stream;
    };

    std::optional<Frame> watchedFrame(const Rect& area);
    std::optional<Frame> singleFrame(const Rect& area);
    void endWatch();

    WaylandConnection layout_;
    MutterScreenCast cast_;
    PipeWireFrames frames_;
    std::optional<Watch> watch_;
    PictureWriter& pictures_;
    Log log_;
};

}  // namespace pontrel
