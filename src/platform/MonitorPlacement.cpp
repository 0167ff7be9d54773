#include "platform/MonitorPlacement.h"

#include <algorithm>
#include <cstdint>

namespace pontrel {

namespace {

// How far the value lies outside [first, last]; 0 inside.
std::int64_t outside(int value, int first, int last) {
    return std::max<std::int64_t>({std::int64_t{first} - value, 0, std::int64_t{value} - last});
}

}  // namespace

std::optional<MonitorPoint> placeOnMonitors(const std::vector<Rect>& monitors, ScreenPoint point) {
    std::optional<MonitorPoint> nearest;
    std::int64_t nearestDistance = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Rect& monitor = monitors[i];
        if (monitor.width <= 0 || monitor.height <= 0) {
            continue;
        }
        const int right = monitor.left + monitor.width - 1;
        const int bottom = monitor.top + monitor.height - 1;
        const std::int64_t dx = outside(point.x, monitor.left, right);
        const std::int64_t dy = outside(point.y, monitor.top, bottom);
        const std::int64_t distance = dx * dx + dy * dy;
        if (!nearest || distance < nearestDistance) {
            nearest = MonitorPoint{i,
                                   {std::clamp(point.x, monitor.left, right) - monitor.left,
                                    std::clamp(point.y, monitor.top, bottom) - monitor.top}};
            nearestDistance = distance;
        }
    }
    return nearest;
}

}  // namespace pontrel
