#include "platform/x11/XlibReceiver.h"

#include <poll.h>
#include <stdexcept>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pontrel::test {

XlibReceiver::XlibReceiver(int x, int y, int width, int height) {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
        throw std::runtime_error("no display for the receiver");
    }
    XSetWindowAttributes attributes{};
    attributes.event_mask =
        KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask | FocusChangeMask;
    attributes.override_redirect = True;
    window_ =
        XCreateWindow(display_, DefaultRootWindow(display_), x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, nullptr,
                      CWEventMask | CWOverrideRedirect, &attributes);
    // The built-in input method: no server needed, Unicode keysyms come out as UTF-8.
    XSetLocaleModifiers("@im=none");
    XIM im = XOpenIM(display_, nullptr, nullptr, nullptr);
    inputMethod_ = im;
    if (im != nullptr) {
        inputContext_ = XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                                  XNClientWindow, window_, XNFocusWindow, window_, nullptr);
    }
    XMapRaised(display_, window_);
    XEvent event;
    do {
        XWindowEvent(display_, window_, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
    thread_ = std::thread([this] { run(); });
}

XlibReceiver::~XlibReceiver() {
    stop_ = true;
    thread_.join();
    if (inputContext_ != nullptr) {
        XDestroyIC(static_cast<XIC>(inputContext_));
    }
    if (inputMethod_ != nullptr) {
        XCloseIM(static_cast<XIM>(inputMethod_));
    }
    XCloseDisplay(display_);
}

void XlibReceiver::focus() {
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
}

std::string XlibReceiver::text() {
    std::lock_guard lock(mutex_);
    return text_;
}

std::string XlibReceiver::buttons() {
    std::lock_guard lock(mutex_);
    return buttons_;
}

void XlibReceiver::clear() {
    std::lock_guard lock(mutex_);
    text_.clear();
    buttons_.clear();
}

void XlibReceiver::run() {
    const auto ic = static_cast<XIC>(inputContext_);
    while (!stop_) {
        pollfd wait{ConnectionNumber(display_), POLLIN, 0};
        poll(&wait, 1, 20);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (XFilterEvent(&event, None)) {
                continue;
            }
            std::lock_guard lock(mutex_);
            if (event.type == ButtonPress || event.type == ButtonRelease) {
                buttons_ += (event.type == ButtonPress ? "down" : "up") +
                            std::to_string(event.xbutton.button) + " @" +
                            std::to_string(event.xbutton.x_root) + "," +
                            std::to_string(event.xbutton.y_root) + " ";
            }
            if (event.type != KeyPress) {
                continue;
            }
            char buffer[64] = {};
            KeySym keysym = NoSymbol;
            int length = 0;
            int status = XLookupNone;
            if (ic != nullptr) {
                length =
                    Xutf8LookupString(ic, &event.xkey, buffer, sizeof buffer - 1, &keysym, &status);
            } else {
                length = XLookupString(&event.xkey, buffer, sizeof buffer - 1, &keysym, nullptr);
                status = length > 0 ? XLookupBoth : XLookupKeySym;
            }
            if ((status == XLookupChars || status == XLookupBoth) && length > 0) {
                text_.append(buffer, static_cast<std::size_t>(length));
            } else if (keysym != NoSymbol && !IsModifierKey(keysym)) {
                const char* name = XKeysymToString(keysym);
                text_ += std::string("<") + (name != nullptr ? name : "?") + ">";
            }
        }
    }
}

}  // namespace pontrel::test
