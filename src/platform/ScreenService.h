#pragma once

#include <string>

#include "platform/Bitmap.h"
#include "platform/Status.h"

namespace pontrel {

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// Reading the screen and writing pictures.
class ScreenService {
public:
    virtual ~ScreenService() = default;

    virtual ScreenSize screenSize() = 0;
    // The rectangle at (x, y) in screen pixels; what lies outside the screen is black.
    virtual Bitmap capture(int x, int y, int width, int height) = 0;

    virtual Status writeBitmapFile(const Bitmap& image, const std::string& path) = 0;
    virtual Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) = 0;
};

}  // namespace pontrel
