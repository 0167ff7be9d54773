#pragma once

#include <array>
#include <cstdint>

#include "platform/InputQueue.h"

struct zwlr_virtual_pointer_v1;

namespace pontrel {

class WaylandConnection;

// A virtual pointer of the wlroots desktops, created once and kept. Positions are pixels of the
// desktop's layout, as the screen capture counts them, across every monitor.
class WlrPointer {
public:
    explicit WlrPointer(WaylandConnection& connection);
    // Releases the buttons it holds.
    ~WlrPointer();
    WlrPointer(const WlrPointer&) = delete;
    WlrPointer& operator=(const WlrPointer&) = delete;

    bool usable() const { return pointer_ != nullptr; }

    // Moves to (x, y), clamped to the layout.
    bool move(int x, int y);
    bool button(MouseButton button, bool down);
    bool releaseAll();

private:
    WaylandConnection& connection_;
    zwlr_virtual_pointer_v1* pointer_ = nullptr;
    std::array<bool, 3> down_{};  // by MouseButton
};

}  // namespace pontrel
