#pragma once

#include <cstdint>

#include "platform/MouseButton.h"

struct org_kde_kwin_fake_input;

namespace pontrel {

class WaylandConnection;

// Whether the compositor of the connection is KWin: it announces globals only KWin has.
bool runsOnKWin(const WaylandConnection& connection);

// KWin's fake input device on a connection of ours: keys as keycodes of the user's layout, the
// pointer in layout pixels, buttons. KWin offers it only to programs one of its desktop files
// names with the interface allowed (or to every program while its permission checks are off).
class KWinFakeInput {
public:
    explicit KWinFakeInput(WaylandConnection& connection);
    ~KWinFakeInput();
    KWinFakeInput(const KWinFakeInput&) = delete;
    KWinFakeInput& operator=(const KWinFakeInput&) = delete;

    // Whether KWin offers this program a device that types (it does not when no desktop file
    // allows the program, or when it is too old).
    static bool offered(const WaylandConnection& connection);

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
