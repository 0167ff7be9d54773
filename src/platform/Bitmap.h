#pragma once

#include <cstdint>
#include <vector>

namespace pontrel {

// A captured picture: rows from the top, each pixel 0x00RRGGBB.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint32_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    bool operator==(const Bitmap&) const = default;
};

}  // namespace pontrel
