#include "platform/x11/X11Connection.h"

#include "platform/x11/X11ErrorHandler.h"

#include <X11/Xlib.h>

namespace pontrel {

Display* X11Connection::open() {
    if (display_ != nullptr && lost_) {
        close();
    }
    if (display_ == nullptr) {
        display_ = openSurvivableDisplay(lost_);
    }
    return display_;
}

void X11Connection::close() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

}  // namespace pontrel
