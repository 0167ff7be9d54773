#pragma once

#include <QByteArray>
#include <QImage>

#include "platform/PictureWriter.h"

namespace pontrel {

// The bitmap's pixels as a picture, without a copy: valid while the bitmap lives unchanged. A
// null picture for an empty or inconsistent bitmap.
QImage bitmapImage(const Bitmap& bitmap);

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
