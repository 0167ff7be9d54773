#include "platform/x11/X11ErrorHandler.h"

#include <X11/Xlib.h>
#include <cstdio>

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

}  // namespace

void installX11ErrorHandler() {
    XSetErrorHandler(logError);
}

}  // namespace pontrel
