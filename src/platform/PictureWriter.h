#pragma once

#include <string>

#include "platform/Bitmap.h"
#include "platform/Status.h"

namespace pontrel {

// Writes captured pictures as files.
class PictureWriter {
public:
    virtual ~PictureWriter() = default;

    // Always a Windows bitmap, whatever the extension says.
    virtual Status writeBitmapFile(const Bitmap& image, const std::string& path) = 0;
    // Quality 10 to 100; other values are brought into that range.
    virtual Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) = 0;
};

}  // namespace pontrel
