#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace pontrel {

// The global state of the keyboard per virtual-key code, as GetAsyncKeyState reports it: 0x8000
// while a key is down, 0x0001 once after every press since the previous query of that key.
// Presses of every client count (xdotool's too) except those our own typing announces.
// Runs a thread with an X connection of its own on $DISPLAY; without a usable display (or
// without XInput 2.1) every key reads 0.
class X11KeyState {
public:
    X11KeyState();
    ~X11KeyState();
    X11KeyState(const X11KeyState&) = delete;
    X11KeyState& operator=(const X11KeyState&) = delete;

    std::uint16_t query(int virtualKey);
    // The next press of this keycode comes from our own typing and does not count as a press.
    void announceSyntheticPress(unsigned keycode);
    // Called on the key-state thread after any key went down or up; it must not call back into
    // this key state. When this returns, a listener replaced (or emptied) is no longer running.
    void setChangeListener(std::function<void()> onChange);

    // False when the display or XInput 2.1 is missing.
    bool available() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pontrel
