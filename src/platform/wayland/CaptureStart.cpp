#include "platform/wayland/CaptureStart.h"

#include <cstddef>

namespace pontrel {

namespace {

// Far above a whole 8K screen.
constexpr long long maxCapturePixels = 1LL << 27;

}  // namespace

std::optional<CaptureStart> startCapture(const LayoutBox& monitors, int x, int y, int width,
                                         int height) {
    if (width <= 0 || height <= 0 ||
        static_cast<long long>(width) * static_cast<long long>(height) > maxCapturePixels) {
        return std::nullopt;
    }
    Bitmap picture{width, height, {}};
    picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0U);
    return CaptureStart{std::move(picture), monitors.clip(x, y, width, height)};
}

}  // namespace pontrel
