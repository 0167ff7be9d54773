#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/ScreenPoint.h"
#include "platform/controls/Rect.h"

namespace pontrel {

// A point of the desktop on one monitor: the monitor's index and the point relative to its top
// left corner.
struct MonitorPoint {
    std::size_t monitor = 0;
    ScreenPoint offset;
    bool operator==(const MonitorPoint&) const = default;
};

// The monitor that holds the point and where on it. A point beside every monitor goes to the
// nearest pixel of the nearest monitor, as X11 keeps its pointer on the monitors; nullopt when
// there is no monitor.
std::optional<MonitorPoint> placeOnMonitors(const std::vector<Rect>& monitors, ScreenPoint point);

}  // namespace pontrel
