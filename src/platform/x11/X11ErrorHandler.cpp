#include "platform/x11/X11ErrorHandler.h"

#include <cstdio>

#include <X11/Xlib.h>

namespace pontrel {

namespace {

int logError(Display* display, XErrorEvent* error) {
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X11 error: %s (request %u.%u, resource 0x%lx)\n", text,
                 static_cast<unsigned>(error->request_code),
                 static_cast<unsigned>(error->minor_code), error->resourceid);
    return 0;
}

// Xlib ends the process when a connection breaks, in its default I/O error handler and then
// in the connection's exit handler, unless both return. Ours do.
int logConnectionLoss(Display* display) {
    std::fprintf(stderr, "X11: connection to %s lost\n", DisplayString(display));
    return 0;
}

void onConnectionLost(Display* display, void* lost) {
    static_cast<std::atomic<bool>*>(lost)->store(true);
    // Xlib took the display's user lock to keep other threads out while the process ends; as
    // it goes on, give it back, so that another thread can still close the display.
    XUnlockDisplay(display);
}

}  // namespace

void installX11ErrorHandler() {
    XSetErrorHandler(logError);
}

Display* openSurvivableDisplay(std::atomic<bool>& lost) {
    installX11ErrorHandler();
    XSetIOErrorHandler(logConnectionLoss);
    Display* display = XOpenDisplay(nullptr);
    if (display != nullptr) {
        lost = false;
        XSetIOErrorExitHandler(display, onConnectionLost, &lost);
    }
    return display;
}

}  // namespace pontrel
