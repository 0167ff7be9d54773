#pragma once

#include <QByteArray>

#include "platform/PictureWriter.h"

namespace pontrel {

// Writes pictures with Qt's image writers. Used from one thread.
class QtPictureWriter final : public PictureWriter {
public:
    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    Status write(const Bitmap& bitmap, const std::string& path, const char* format, int quality);

    QByteArray encoded_;  // kept between writes: its pages are already mapped
};

}  // namespace pontrel
