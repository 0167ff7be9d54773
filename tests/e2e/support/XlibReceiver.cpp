#include "e2e/support/XlibReceiver.h"

#include <poll.h>
#include <stdexcept>

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include "e2e/support/Wait.h"

namespace pontrel::e2e {

namespace {

std::string characterOf(XKeyEvent& event) {
    char bytes[32];
    KeySym keysym = NoSymbol;
    XLookupString(&event, bytes, sizeof bytes, &keysym, nullptr);
    if (keysym == XK_Return || keysym == XK_KP_Enter) {
        return "\n";
    }
    char utf8[16] = {};
    if (xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(keysym), utf8, sizeof utf8) <= 0) {
        return {};
    }
    return utf8;
}

}  // namespace

XlibReceiver::XlibReceiver(const Rect& wanted, unsigned long colour) {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
        throw std::runtime_error("receiver: no display");
    }
    XSetWindowAttributes attributes{};
    attributes.background_pixel = colour;
    attributes.event_mask =
        KeyPressMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask;
    window_ = XCreateWindow(display_, DefaultRootWindow(display_), wanted.x, wanted.y,
                            static_cast<unsigned>(wanted.width),
                            static_cast<unsigned>(wanted.height), 0, CopyFromParent, InputOutput,
                            CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    // Placed where asked, not where the window manager would put it.
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = wanted.x;
    hints.y = wanted.y;
    hints.width = wanted.width;
    hints.height = wanted.height;
    XSetWMNormalHints(display_, window_, &hints);
    XStoreName(display_, window_, "Xlib-Empfaenger");
    XMapRaised(display_, window_);
    XSync(display_, False);
    XEvent event;
    if (!waitUntil([&] { return XCheckTypedWindowEvent(display_, window_, MapNotify, &event); },
                   5000)) {
        XCloseDisplay(display_);
        throw std::runtime_error("receiver: the window manager did not map the window");
    }
    reader_ = std::thread([this] { readEvents(); });
}

XlibReceiver::~XlibReceiver() {
    stop_ = true;
    reader_.join();
    XCloseDisplay(display_);
}

void XlibReceiver::readEvents() {
    while (!stop_) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            const TimePoint now = std::chrono::steady_clock::now();
            const std::lock_guard lock(mutex_);
            if (event.type == MappingNotify) {
                XRefreshKeyboardMapping(&event.xmapping);
            } else if (event.type == KeyPress) {
                keys_.push_back({characterOf(event.xkey), now});
            } else if (event.type == ButtonPress) {
                presses_.push_back({static_cast<int>(event.xbutton.button),
                                    {event.xbutton.x_root, event.xbutton.y_root},
                                    now});
            } else if (event.type == MotionNotify) {
                motions_.push_back(
                    {{event.xmotion.x_root, event.xmotion.y_root}, now, event.xmotion.time});
            }
        }
        pollfd readable{ConnectionNumber(display_), POLLIN, 0};
        poll(&readable, 1, 20);
    }
}

std::string XlibReceiver::text() const {
    const std::lock_guard lock(mutex_);
    std::string all;
    for (const Key& key : keys_) {
        all += key.text;
    }
    return all;
}

std::vector<XlibReceiver::Key> XlibReceiver::keys() const {
    const std::lock_guard lock(mutex_);
    return keys_;
}

std::vector<XlibReceiver::Press> XlibReceiver::presses() const {
    const std::lock_guard lock(mutex_);
    return presses_;
}

std::vector<XlibReceiver::Motion> XlibReceiver::motions() const {
    const std::lock_guard lock(mutex_);
    return motions_;
}

void XlibReceiver::clear() {
    const std::lock_guard lock(mutex_);
    keys_.clear();
    presses_.clear();
    motions_.clear();
}

}  // namespace pontrel::e2e
