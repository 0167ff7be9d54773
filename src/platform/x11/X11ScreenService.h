#pragma once

#include <memory>

#include "platform/PictureWriter.h"
#include "platform/ScreenService.h"

namespace pontrel {

// Reads the root window of $DISPLAY on a connection of its own (MIT-SHM where the server
// offers it, plain GetImage otherwise); pictures are written by the writer given.
// Used from one thread.
class X11ScreenService : public ScreenService {
public:
    explicit X11ScreenService(PictureWriter& pictures);
    ~X11ScreenService() override;
    X11ScreenService(const X11ScreenService&) = delete;
    X11ScreenService& operator=(const X11ScreenService&) = delete;

    ScreenSize screenSize() override;
    Bitmap capture(int x, int y, int width, int height) override;

    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pontrel
