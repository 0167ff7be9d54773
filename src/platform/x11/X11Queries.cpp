#include "platform/x11/X11Queries.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace pontrel {

std::optional<int> xinput21Opcode(Display* display) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;  // what we speak; the server answers with what it has
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        return std::nullopt;
    }
    return opcode;
}

std::optional<ScreenPoint> rootPointerPosition(Display* display) {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                       &windowY, &mask)) {
        return std::nullopt;
    }
    return ScreenPoint{rootX, rootY};
}

}  // namespace pontrel
