#pragma once

#include <cstdint>

#include "platform/MouseButton.h"

struct org_kde_kwin_fake_input;

namespace pontrel {

class WaylandConnection;

// KWin's fake input device on a connection of ours: keys as keycodes of the user's layout, the
// pointer in layout pixels, buttons. KWin offers it only to programs one of its desktop files
// names with the interface allowed (or to every program while its permission checks are off).
class KWinFakeInput {
public:
    explicit KWinFakeInput(WaylandConnection& connection);
    ~KWinFakeInput();
    KWinFakeInput(const KWinFakeInput&) = delete;
    KWinFakeInput& operator=(const KWinFakeInput&) = delete;

    // False when KWin does not offer the device, or too old a one to type.
    bool usable() const { return device_ != nullptr; }

    // keycode: xkb's (evdev + 8).
    bool key(std::uint32_t keycode, bool down);
    bool moveTo(int x, int y);
    bool button(MouseButton button, bool down);
    // Sends what is buffered and waits until KWin has handled it.
    bool roundtrip();

private:
    bool afterEvent();

    WaylandConnection& connection_;
    org_kde_kwin_fake_input* device_ = nullptr;
    int eventsSinceRoundtrip_ = 0;
};

}  // namespace pontrel
