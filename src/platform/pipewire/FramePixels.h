#pragma once

#include "platform/Bitmap.h"

namespace pontrel {

// How the four bytes of a pixel lie in memory, first byte first; x is unused or alpha.
enum class PixelOrder { Bgrx, Rgbx, Xrgb, Xbgr };

// A frame of 32-bit pixels as the desktop delivered it.
struct FrameView {
    const unsigned char* bytes = nullptr;  // the top-left pixel
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes from one row to the next
    PixelOrder order = PixelOrder::Bgrx;
};

// The part of a monitor's frame that shows the rectangle at (left, top) of the monitor, where
// the monitor is logicalWidth by logicalHeight pixels large and the frame may have more of them
// (a scaled monitor). The rectangle lies within the monitor.
FrameView framePart(const FrameView& frame, int logicalWidth, int logicalHeight, int left, int top,
                    int width, int height);

// Copies the frame into the width by height rectangle of `into` at (intoX, intoY). A scaled
// monitor delivers more pixels than the rectangle has: each target pixel takes the frame pixel
// its position falls on.
void copyFrame(const FrameView& frame, Bitmap& into, int intoX, int intoY, int width, int height);

}  // namespace pontrel
