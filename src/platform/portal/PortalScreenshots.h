#pragma once

#include <optional>

#include "platform/PictureWriter.h"
#include "platform/ScreenService.h"

namespace pontrel {

class PortalBus;

// Reads the screen through the Screenshot portal, one whole-screen picture per capture, without
// a dialog where the desktop allows (it may ask once). The portal's picture file is read and
// removed. Pictures are written by the writer given.
class PortalScreenshots final : public ScreenService {
public:
    PortalScreenshots(PortalBus& bus, PictureWriter& pictures);

    // The size of the last picture; the first call takes one.
    ScreenSize screenSize() override;
    // An empty bitmap when the desktop gave no picture.
    Bitmap capture(int x, int y, int width, int height) override;

    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    PortalBus& bus_;
    PictureWriter& pictures_;
    std::optional<ScreenSize> size_;
};

}  // namespace pontrel
