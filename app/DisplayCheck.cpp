#include "DisplayCheck.h"

#include <cstdlib>
#include <string_view>

#include <X11/Xlib.h>

namespace pontrel {

std::string chosenDisplay(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "-display") {
            return argv[i + 1];
        }
    }
    const char* display = std::getenv("DISPLAY");
    return display != nullptr ? display : "";
}

bool canOpenDisplay(const std::string& display) {
    if (display.empty()) {
        return false;
    }
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr) {
        return false;
    }
    XCloseDisplay(connection);
    return true;
}

bool waylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (type != nullptr && std::string_view(type) == "wayland") ||
           (wayland != nullptr && *wayland != '\0');
}

void prepareXlibForThreads() {
    XInitThreads();
}

}  // namespace pontrel
