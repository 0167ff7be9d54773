#pragma once

#include <QRect>

#include "platform/controls/Rect.h"

namespace pontrel {

// Twips per pixel of the primary screen: 1440 / logical DPI, 15 at 96 DPI.
int twipsPerPixel(Qt::Orientation direction);

// A rectangle in twips as pixels, each edge rounded to the nearest pixel.
QRect twipsToPixels(const Rect& twips, int perPixelX, int perPixelY);

}  // namespace pontrel
