#pragma once

#include <memory>

#include "platform/PictureWriter.h"
#include "platform/ScreenService.h"

namespace pontrel {

// Reads the screen of a wlroots desktop with screencopy, region by region and monitor by
// monitor, on a Wayland connection of its own. Pictures are written by the writer given. Used from
// one thread.
class WlrScreenCapture final : public ScreenService {
public:
    explicit WlrScreenCapture(PictureWriter& pictures);
    ~WlrScreenCapture() override;
    WlrScreenCapture(const WlrScreenCapture&) = delete;
    WlrScreenCapture& operator=(const WlrScreenCapture&) = delete;

    // False when the desktop offers no screencopy.
    bool usable() const;

    // The layout of every monitor, in logical pixels.
    ScreenSize screenSize() override;
    Bitmap capture(int x, int y, int width, int height) override;

    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    PictureWriter& pictures_;
};

}  // namespace pontrel
