#pragma once

namespace pontrel {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

// A 24-bit colour in the classic blue-green-red order (0x00BBGGRR).
using Colour = int;

}  // namespace pontrel
