#include "platform/portal/PortalScreenshots.h"

#include <cstdio>

#include <QFile>
#include <QImage>
#include <QUrl>

#include "platform/portal/PortalBus.h"

namespace pontrel {

PortalScreenshots::PortalScreenshots(PortalBus& bus, PictureWriter& pictures)
    : bus_(bus), pictures_(pictures) {}

ScreenSize PortalScreenshots::screenSize() {
    if (!size_) {
        (void)capture(0, 0, 1, 1);
    }
    return size_.value_or(ScreenSize{});
}

Bitmap PortalScreenshots::capture(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const PortalResponse shot =
        bus_.request(QStringLiteral("Screenshot"), QStringLiteral("Screenshot"), {QString()},
                     {{QStringLiteral("interactive"), false}}, PortalBus::userAnswer);
    if (!shot.ok) {
        std::fprintf(stderr, "screenshot: %s\n", shot.error.c_str());
        return {};
    }
    const QUrl uri(shot.results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile()) {
        std::fprintf(stderr, "screenshot: the desktop named no picture file\n");
        return {};
    }
    const QString file = uri.toLocalFile();
    const QImage screen = QImage(file).convertToFormat(QImage::Format_RGB32);
    // The file was made for this request alone; a pixel watch would fill the folder.
    QFile::remove(file);
    if (screen.isNull()) {
        std::fprintf(stderr, "screenshot: the picture file could not be read\n");
        return {};
    }
    size_ = ScreenSize{screen.width(), screen.height()};
    Bitmap bitmap{width, height,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(width) *
                                             static_cast<std::size_t>(height))};
    // What lies outside the screen stays black.
    for (int row = 0; row < height; ++row) {
        const int sy = y + row;
        if (sy < 0 || sy >= screen.height()) {
            continue;
        }
        const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(sy));
        for (int column = 0; column < width; ++column) {
            const int sx = x + column;
            if (sx >= 0 && sx < screen.width()) {
                bitmap.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                              static_cast<std::size_t>(column)] = line[sx] & 0x00FFFFFFU;
            }
        }
    }
    return bitmap;
}

Status PortalScreenshots::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return pictures_.writeBitmapFile(image, path);
}

Status PortalScreenshots::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    return pictures_.writeJpegFile(image, path, quality);
}

}  // namespace pontrel
