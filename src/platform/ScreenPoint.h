#pragma once

namespace pontrel {

// A pixel of the desktop, from its top left corner.
struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

}  // namespace pontrel
