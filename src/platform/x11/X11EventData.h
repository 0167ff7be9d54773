#pragma once

#include <X11/Xlib.h>

namespace pontrel {

// The XInput 2 payload of one event, when the event is one of the given extension's; the
// payload is freed when this goes.
class X11EventData {
public:
    X11EventData(Display* display, XEvent& event, int xiOpcode)
        : display_(display), cookie_(event.xcookie) {
        held_ = cookie_.type == GenericEvent && cookie_.extension == xiOpcode &&
                XGetEventData(display_, &cookie_);
    }
    ~X11EventData() {
        if (held_) {
            XFreeEventData(display_, &cookie_);
        }
    }
    X11EventData(const X11EventData&) = delete;
    X11EventData& operator=(const X11EventData&) = delete;

    explicit operator bool() const { return held_; }
    int type() const { return cookie_.evtype; }
    template <typename Payload>
    const Payload& as() const {
        return *static_cast<const Payload*>(cookie_.data);
    }

private:
    Display* display_;
    XGenericEventCookie& cookie_;
    bool held_ = false;
};

}  // namespace pontrel
