#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/controls/Label.h"
#include "platform/controls/Rect.h"

namespace pontrel {

// The command panels that show a control, one bit per command code.
using PanelSet = std::uint16_t;
inline constexpr PanelSet noPanel = 0;  // shown whatever command is current
inline constexpr PanelSet panel(int code) {
    return static_cast<PanelSet>(1U << code);
}

// One control of the window as designed.
struct ControlDesign {
    std::string_view name;
    Rect twips;
    PanelSet panels = noPanel;
    // A run takes it from the user until the run ends.
    bool lockedWhileRunning = false;
    LabelStyle labelStyle = LabelStyle::plain;
};

// The window as data: every control placed on it, in drawing order (later ones lie on top).
std::span<const ControlDesign> formDesign();

// The design client area and the extra height of title bar and border.
inline constexpr int designClientWidth = 4575;
inline constexpr int designClientHeight = 7170;
inline constexpr int designOuterHeight = 7665;

}  // namespace pontrel
