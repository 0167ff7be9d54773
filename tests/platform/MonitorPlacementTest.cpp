// Which monitor a desktop point lands on: two monitors of different heights side by side with a
// gap below the smaller one, and points beside both.

#include <gtest/gtest.h>

#include "platform/MonitorPlacement.h"

namespace pontrel {
namespace {

struct PlacementCase {
    ScreenPoint point;
    MonitorPoint expected;
};

TEST(MonitorPlacement, APointGoesToItsMonitorOrTheNearestPixelOfTheNearestOne) {
    // An empty monitor is never chosen; the indices count it.
    const std::vector<Rect> monitors = {{0, 0, 1024, 768}, {5, 5, 0, 0}, {1024, 0, 800, 600}};
    const PlacementCase cases[] =
        {
            {{0, 0}, {0, {0, 0}}},           {{1023, 767}, {0, {1023, 767}}},
            {{1024, 0}, {2, {0, 0}}},        {{1500, 300}, {2, {476, 300}}},
            {{1500, 700}, {2, {476, 599}}},   // below the smaller monitor: up onto it
            {{1030, 760}, {0, {1023, 760}}},  // nearer the larger one's right edge
            {{5000, -20}, {2, {799, 0}}},    {{-3, 900}, {0, {0, 767}}},
        };
    for (const PlacementCase& c : cases) {
        EXPECT_EQ(placeOnMonitors(monitors, c.point), c.expected) << c.point.x << "," << c.point.y;
    }
    EXPECT_EQ(placeOnMonitors({}, {0, 0}), std::nullopt);
}

}  // namespace
}  // namespace pontrel
