#include "platform/wayland/WlrPointer.h"

#include <algorithm>
#include <cstdint>

#include <wayland-client.h>

#include "platform/wayland/InputCodes.h"
#include "platform/wayland/WaylandConnection.h"
#include "wlr-virtual-pointer-unstable-v1-client.h"

namespace pontrel {

WlrPointer::WlrPointer(WaylandConnection& connection) : connection_(connection) {
    if (connection_.usable() && connection_.pointerManager() != nullptr) {
        pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(
            connection_.pointerManager(), connection_.seat());
        (void)connection_.roundtrip();
    }
}

WlrPointer::~WlrPointer() {
    if (pointer_ != nullptr) {
        (void)releaseAll();
        zwlr_virtual_pointer_v1_destroy(pointer_);
        (void)connection_.roundtrip();
    }
}

bool WlrPointer::move(int x, int y) {
    const LayoutBox box = connection_.layout();
    if (pointer_ == nullptr || box.width <= 0 || box.height <= 0) {
        return false;
    }
    // Absolute motion counts from the layout's corner in steps of one pixel.
    const int left = std::clamp(x, box.x, box.x + box.width - 1) - box.x;
    const int top = std::clamp(y, box.y, box.y + box.height - 1) - box.y;
    zwlr_virtual_pointer_v1_motion_absolute(
        pointer_, WaylandConnection::eventTime(), static_cast<std::uint32_t>(left),
        static_cast<std::uint32_t>(top), static_cast<std::uint32_t>(box.width),
        static_cast<std::uint32_t>(box.height));
    zwlr_virtual_pointer_v1_frame(pointer_);
    return connection_.flush();
}

bool WlrPointer::button(MouseButton button, bool down) {
    if (pointer_ == nullptr) {
        return false;
    }
    zwlr_virtual_pointer_v1_button(
        pointer_, WaylandConnection::eventTime(), linuxButton(button),
        down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer_);
    down_[static_cast<std::size_t>(button)] = down;
    return connection_.flush();
}

bool WlrPointer::releaseAll() {
    bool ok = true;
    for (const MouseButton held : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        if (down_[static_cast<std::size_t>(held)]) {
            ok = button(held, false) && ok;
        }
    }
    return connection_.roundtrip() && ok;
}

}  // namespace pontrel
