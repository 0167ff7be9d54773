#pragma once

#include <span>
#include <string_view>

#include "platform/controls/Rect.h"

namespace pontrel {

struct ControlDesign {
    std::string_view name;
    Rect twips;
};

// The window's layout as data: every control's design rectangle in twips, by name.
std::span<const ControlDesign> formDesign();

// The design client area and the extra height of title bar and border.
inline constexpr int designClientWidth = 4575;
inline constexpr int designClientHeight = 7170;
inline constexpr int designOuterHeight = 7665;

}  // namespace pontrel
