#include "platform/qt/Twips.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QScreen>

namespace pontrel {

namespace {

constexpr double twipsPerInch = 1440.0;
constexpr double defaultDpi = 96.0;

int toPixels(int twips, int perPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / perPixel));
}

}  // namespace

int twipsPerPixel(Qt::Orientation direction) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    double dpi = defaultDpi;
    if (screen != nullptr) {
        dpi = direction == Qt::Horizontal ? screen->logicalDotsPerInchX()
                                          : screen->logicalDotsPerInchY();
    }
    return std::max(1, static_cast<int>(std::lround(twipsPerInch / (dpi > 0 ? dpi : defaultDpi))));
}

QRect twipsToPixels(const Rect& twips, int perPixelX, int perPixelY) {
    const int left = toPixels(twips.left, perPixelX);
    const int top = toPixels(twips.top, perPixelY);
    const int right = toPixels(twips.left + twips.width, perPixelX);
    const int bottom = toPixels(twips.top + twips.height, perPixelY);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

}  // namespace pontrel
