#pragma once

#include <optional>

#include "platform/Bitmap.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

// A capture of the rectangle at (x, y) begun: its picture, black, and the part of the rectangle
// that lies on the monitors (empty where none does), which the backend fills in.
struct CaptureStart {
    Bitmap picture;
    LayoutBox onMonitors;
};

// None for an empty rectangle or one too large to read. `monitors` is the box around them all.
std::optional<CaptureStart> startCapture(const LayoutBox& monitors, int x, int y, int width,
                                         int height);

}  // namespace pontrel
