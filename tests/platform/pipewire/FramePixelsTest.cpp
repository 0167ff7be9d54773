// Frames as PipeWire delivers them: every byte order, padded rows, and more pixels than the
// logical area (a scaled monitor).

#include <gtest/gtest.h>
#include <cstdint>
#include <vector>

#include "platform/pipewire/FramePixels.h"

namespace pontrel {
namespace {

struct OrderCase {
    PixelOrder order;
    std::vector<unsigned char> pixel;  // the bytes of 0x112233
};

TEST(FramePixels, EveryByteOrderGivesTheSameColourAndRowPaddingIsSkipped) {
    const OrderCase cases[] = {
        {PixelOrder::Bgrx, {0x33, 0x22, 0x11, 0xFF}},
        {PixelOrder::Rgbx, {0x11, 0x22, 0x33, 0xFF}},
        {PixelOrder::Xrgb, {0xFF, 0x11, 0x22, 0x33}},
        {PixelOrder::Xbgr, {0xFF, 0x33, 0x22, 0x11}},
    };
    for (const OrderCase& c : cases) {
        // Two rows of one pixel, each row padded to 8 bytes with bytes that must not show.
        std::vector<unsigned char> bytes = c.pixel;
        bytes.insert(bytes.end(), {0xEE, 0xEE, 0xEE, 0xEE});
        bytes.insert(bytes.end(), c.pixel.begin(), c.pixel.end());
        Bitmap into{3, 2, std::vector<std::uint32_t>(6, 0U)};
        copyFrame({bytes.data(), 1, 2, 8, c.order}, into, 1, 0, 1, 2);
        EXPECT_EQ(into.pixels, (std::vector<std::uint32_t>{0, 0x112233, 0, 0, 0x112233, 0}))
            << static_cast<int>(c.order);
    }
}

TEST(FramePixels, AFrameLargerThanTheAreaIsSampledOntoIt) {
    // 4 by 2 device pixels for a 2 by 1 area: each logical pixel takes the first of its block.
    std::vector<unsigned char> bytes;
    for (unsigned char value : {1, 2, 3, 4, 5, 6, 7, 8}) {
        bytes.insert(bytes.end(), {value, 0, 0, 0});
    }
    Bitmap into{2, 1, std::vector<std::uint32_t>(2, 0U)};
    copyFrame({bytes.data(), 4, 2, 16, PixelOrder::Bgrx}, into, 0, 0, 2, 1);
    EXPECT_EQ(into.pixels, (std::vector<std::uint32_t>{1, 3}));
}

TEST(FramePixels, APartOfAScaledMonitorsFrameShowsThatPartOnly) {
    // A 4 by 2 logical monitor in an 8 by 4 frame; each device pixel holds its column and row.
    std::vector<unsigned char> bytes;
    for (unsigned char row = 0; row < 4; ++row) {
        for (unsigned char column = 0; column < 8; ++column) {
            bytes.insert(bytes.end(), {row, column, 0, 0});
        }
    }
    const FrameView frame{bytes.data(), 8, 4, 32, PixelOrder::Bgrx};
    Bitmap into{2, 1, std::vector<std::uint32_t>(2, 0U)};
    copyFrame(framePart(frame, 4, 2, 2, 1, 2, 1), into, 0, 0, 2, 1);
    EXPECT_EQ(into.pixels, (std::vector<std::uint32_t>{0x0402, 0x0602}));
}

}  // namespace
}  // namespace pontrel
