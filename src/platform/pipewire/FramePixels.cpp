#include "platform/pipewire/FramePixels.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace pontrel {

namespace {

struct ByteOffsets {
    int red;
    int green;
    int blue;
};

ByteOffsets offsetsOf(PixelOrder order) {
    switch (order) {
        case PixelOrder::Rgbx:
            return {0, 1, 2};
        case PixelOrder::Xrgb:
            return {1, 2, 3};
        case PixelOrder::Xbgr:
            return {3, 2, 1};
        case PixelOrder::Bgrx:
            break;
    }
    return {2, 1, 0};
}

}  // namespace

FrameView framePart(const FrameView& frame, int logicalWidth, int logicalHeight, int left, int top,
                    int width, int height) {
    const auto scaled = [](int at, int frameSize, int logicalSize) {
        return static_cast<int>(static_cast<long long>(at) * frameSize / logicalSize);
    };
    const int frameLeft = scaled(left, frame.width, logicalWidth);
    const int frameTop = scaled(top, frame.height, logicalHeight);
    FrameView part = frame;
    part.bytes = frame.bytes + static_cast<long long>(frameTop) * frame.stride + frameLeft * 4LL;
    part.width = std::max(scaled(left + width, frame.width, logicalWidth) - frameLeft, 1);
    part.height = std::max(scaled(top + height, frame.height, logicalHeight) - frameTop, 1);
    return part;
}

void copyFrame(const FrameView& frame, Bitmap& into, int intoX, int intoY, int width, int height) {
    const ByteOffsets at = offsetsOf(frame.order);
    for (int row = 0; row < height; ++row) {
        const long long sourceRow = static_cast<long long>(row) * frame.height / height;
        const unsigned char* line = frame.bytes + sourceRow * frame.stride;
        std::uint32_t* out = &into.pixels[static_cast<std::size_t>(intoY + row) *
                                              static_cast<std::size_t>(into.width) +
                                          static_cast<std::size_t>(intoX)];
        for (int column = 0; column < width; ++column) {
            const unsigned char* pixel =
                line + static_cast<long long>(column) * frame.width / width * 4;
            out[column] = (std::uint32_t{pixel[at.red]} << 16) |
                          (std::uint32_t{pixel[at.green]} << 8) | pixel[at.blue];
        }
    }
}

}  // namespace pontrel
