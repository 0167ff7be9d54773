#include "platform/x11/X11InputSink.h"

#include <algorithm>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

// The largest coordinate the protocol carries.
constexpr int maxCoordinate = 32767;

unsigned buttonNumber(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return 1;
        case MouseButton::Middle:
            return 2;
        case MouseButton::Right:
            return 3;
    }
    return 1;
}

}  // namespace

X11InputSink::X11InputSink(Display* display, const std::atomic<bool>& lost, unsigned xtestKeyboard,
                           X11KeyState& keyState, X11HeldInput& held)
    : display_(display),
      lost_(lost),
      held_(held),
      typist_(display, xtestKeyboard, keyState, held) {}

void X11InputSink::beginText(const KeyActions& text) {
    if (!lost_) {
        typist_.begin(text);
    }
}

void X11InputSink::pressKey(NamedKey key) {
    if (!lost_) {
        typist_.press(key);
    }
}

void X11InputSink::releaseKey(NamedKey key) {
    if (!lost_) {
        typist_.release(key);
    }
}

void X11InputSink::typeCharacters(std::u32string_view run, const CancelCheck& cancelled) {
    if (!lost_) {
        typist_.type(run, [&] { return lost_ || cancelled(); });
    }
}

void X11InputSink::movePointer(ScreenPoint point) {
    if (lost_) {
        return;
    }
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 1;
    unsigned height = 1;
    unsigned border = 0;
    unsigned depth = 0;
    XGetGeometry(display_, DefaultRootWindow(display_), &root, &x, &y, &width, &height, &border,
                 &depth);
    const int right = std::min(static_cast<int>(width), maxCoordinate + 1) - 1;
    const int bottom = std::min(static_cast<int>(height), maxCoordinate + 1) - 1;
    XTestFakeMotionEvent(display_, DefaultScreen(display_), std::clamp(point.x, 0, right),
                         std::clamp(point.y, 0, bottom), CurrentTime);
}

void X11InputSink::pressButton(MouseButton button) {
    if (!lost_) {
        held_.buttons[buttonNumber(button)] = true;
        XTestFakeButtonEvent(display_, buttonNumber(button), True, CurrentTime);
    }
}

// The signal hook forgets the button only once the server has its release.
void X11InputSink::releaseButton(MouseButton button) {
    if (!lost_) {
        XTestFakeButtonEvent(display_, buttonNumber(button), False, CurrentTime);
        XSync(display_, False);
        held_.buttons[buttonNumber(button)] = false;
    }
}

void X11InputSink::flush() {
    if (!lost_) {
        typist_.finish();
        XSync(display_, False);
    }
}

}  // namespace pontrel
