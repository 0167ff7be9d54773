#include "e2e/support/Desktop.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <stdexcept>

#include <X11/Xatom.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include "e2e/support/Wait.h"

namespace pontrel::e2e {

namespace {

std::filesystem::path makeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pontrel-e2e.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}

// Children get this display only, no bus of the machine and a home of their own.
void isolateEnvironment(const std::filesystem::path& folder) {
    const std::string noBus = "unix:path=" + (folder / "kein-bus").string();
    setenv("DBUS_SESSION_BUS_ADDRESS", noBus.c_str(), 1);
    setenv("DBUS_SYSTEM_BUS_ADDRESS", noBus.c_str(), 1);
    const std::filesystem::path runtime = folder / ".laufzeit";
    std::filesystem::create_directory(runtime);
    chmod(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("HOME", folder.c_str(), 1);
    unsetenv("XAUTHORITY");
    unsetenv("SESSION_MANAGER");
    unsetenv("WAYLAND_DISPLAY");
}

unsigned long cardinal(Display* display, Window window, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        value = *reinterpret_cast<unsigned long*>(data);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return value;
}

Window findClient(Display* display, Window window, unsigned long pid, int depth) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) != 0 &&
        attributes.map_state == IsViewable && cardinal(display, window, "_NET_WM_PID") == pid) {
        return window;
    }
    if (depth == 0) {
        return 0;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count && found == 0; ++i) {
            found = findClient(display, children[i], pid, depth - 1);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

// Openbox names itself on the root before it handles map requests: a window mapped in between
// stays unmapped. So a probe window must come up before the desktop counts as ready.
bool windowManagerMaps(Display* display) {
    const Window probe =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XSelectInput(display, probe, StructureNotifyMask);
    bool mapped = false;
    for (int attempt = 0; attempt < 50 && !mapped; ++attempt) {
        XMapWindow(display, probe);
        XSync(display, False);
        XEvent event;
        mapped = waitUntil(
            [&] { return XCheckTypedWindowEvent(display, probe, MapNotify, &event); }, 200);
    }
    XDestroyWindow(display, probe);
    XSync(display, False);
    return mapped;
}

}  // namespace

Desktop::Desktop(const std::string& layout) : folder_(makeFolder()) {
    isolateEnvironment(folder_);
    display_ = XOpenDisplay(server_.display().c_str());
    if (display_ == nullptr) {
        throw std::runtime_error("cannot open " + server_.display());
    }
    // Windows may vanish while we walk the tree.
    XSetErrorHandler(ignoreErrors);
    setLayout(layout);
    windowManager_ = start({"openbox", "--sm-disable"}, "openbox");
    const Window root = DefaultRootWindow(display_);
    if (!waitUntil([&] { return cardinal(display_, root, "_NET_SUPPORTING_WM_CHECK") != 0; },
                   10000) ||
        !windowManagerMaps(display_)) {
        throw std::runtime_error("openbox did not start (is the package openbox installed?)");
    }
}

Desktop::~Desktop() {
    windowManager_.reset();
    XCloseDisplay(display_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string Desktop::logFile(const std::string& name) const {
    return (folder_ / (name + ".log")).string();
}

void Desktop::setLayout(const std::string& layout) {
    runTool({"setxkbmap", "-display", server_.display(), "-layout", layout});
    XSync(display_, False);
}

std::unique_ptr<ChildProcess> Desktop::start(const std::vector<std::string>& argv,
                                             const std::string& logName) const {
    return std::make_unique<ChildProcess>(argv, folder_.string(), logFile(logName));
}

Window Desktop::windowOf(pid_t pid, int timeoutMs) const {
    Window found = 0;
    waitUntil(
        [&] {
            found = findClient(display_, DefaultRootWindow(display_),
                               static_cast<unsigned long>(pid), 3);
            return found != 0;
        },
        timeoutMs, 2);
    return found;
}

std::string Desktop::title(Window window) const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0, 256,
                           False, XInternAtom(display_, "UTF8_STRING", False), &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        text.assign(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return text;
}

Rect Desktop::clientRect(Window window) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

Window Desktop::focused() const {
    Window window = 0;
    int revert = 0;
    XGetInputFocus(display_, &window, &revert);
    return window;
}

bool Desktop::focus(Window window) const {
    runTool({"xdotool", "windowactivate", "--sync", std::to_string(window)});
    return waitUntil([&] { return focused() == window; }, 5000);
}

Point Desktop::pointer() const {
    Window root = 0;
    Window child = 0;
    Point at;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &at.x, &at.y, &windowX,
                  &windowY, &mask);
    return at;
}

void Desktop::click(Point at, int button) const {
    runTool({"xdotool", "mousemove", "--sync", std::to_string(at.x), std::to_string(at.y), "click",
             std::to_string(button)});
}

void Desktop::pressKey(const std::string& keyName, int holdMs) const {
    runTool({"xdotool", "keydown", keyName});
    pause(holdMs);
    runTool({"xdotool", "keyup", keyName});
}

bool Desktop::pressKeyUntil(const std::string& keyName, const std::function<bool()>& done,
                            int timeoutMs) const {
    runTool({"xdotool", "keydown", keyName});
    const bool reacted = waitUntil(done, timeoutMs);
    runTool({"xdotool", "keyup", keyName});
    return reacted;
}

std::string Desktop::clipboard() const {
    return runTool({"xclip", "-o", "-selection", "clipboard"}, 5000);
}

void Desktop::physicalKeyTap(unsigned long keysym) const {
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display_, XIAllDevices, &count);
    int id = -1;
    for (int i = 0; i < count; ++i) {
        if (std::string(devices[i].name) == "Xvfb keyboard") {
            id = devices[i].deviceid;
        }
    }
    XIFreeDeviceInfo(devices);
    XDevice* keyboard = id < 0 ? nullptr : XOpenDevice(display_, static_cast<XID>(id));
    if (keyboard == nullptr) {
        throw std::runtime_error("no device \"Xvfb keyboard\"");
    }
    const unsigned keycode = XKeysymToKeycode(display_, keysym);
    XTestFakeDeviceKeyEvent(display_, keyboard, keycode, True, nullptr, 0, CurrentTime);
    XTestFakeDeviceKeyEvent(display_, keyboard, keycode, False, nullptr, 0, CurrentTime);
    XSync(display_, False);
    XCloseDevice(display_, keyboard);
}

void Desktop::paint(Window window, unsigned long colour) const {
    XSetWindowBackground(display_, window, colour);
    XClearWindow(display_, window);
    XSync(display_, False);
}

}  // namespace pontrel::e2e
