#include "platform/x11/X11TestClient.h"

#include <X11/Xatom.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace pontrel::test {

namespace {

XDevice* openDevice(Display* display, int id) {
    XDevice* device = XOpenDevice(display, static_cast<XID>(id));
    if (device == nullptr) {
        throw std::runtime_error("cannot open input device");
    }
    return device;
}

}  // namespace

void settle(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

X11TestClient::X11TestClient() {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
        throw std::runtime_error("no test display");
    }
    keyboard_ = openDevice(display_, deviceId("Xvfb keyboard"));
    mouse_ = openDevice(display_, deviceId("Xvfb mouse"));
}

X11TestClient::~X11TestClient() {
    XCloseDevice(display_, keyboard_);
    XCloseDevice(display_, mouse_);
    XCloseDisplay(display_);
}

unsigned X11TestClient::keycode(KeySym sym) const {
    return XKeysymToKeycode(display_, sym);
}

int X11TestClient::deviceId(const std::string& name) const {
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display_, XIAllDevices, &count);
    int id = -1;
    for (int i = 0; i < count; ++i) {
        if (name == devices[i].name) {
            id = devices[i].deviceid;
        }
    }
    XIFreeDeviceInfo(devices);
    if (id < 0) {
        throw std::runtime_error("no input device " + name);
    }
    return id;
}

void X11TestClient::xtestKey(unsigned keycode, bool press) {
    XTestFakeKeyEvent(display_, keycode, press ? True : False, CurrentTime);
    XSync(display_, False);
}

void X11TestClient::xtestTap(unsigned keycode) {
    xtestKey(keycode, true);
    xtestKey(keycode, false);
}

void X11TestClient::xtestMove(int dx, int dy) {
    XTestFakeRelativeMotionEvent(display_, dx, dy, CurrentTime);
    XSync(display_, False);
}

void X11TestClient::deviceKey(unsigned keycode, bool press) {
    XTestFakeDeviceKeyEvent(display_, keyboard_, keycode, press ? True : False, nullptr, 0,
                            CurrentTime);
    XSync(display_, False);
}

void X11TestClient::deviceTap(unsigned keycode) {
    deviceKey(keycode, true);
    deviceKey(keycode, false);
}

void X11TestClient::deviceMove(int dx, int dy) {
    int axes[2] = {dx, dy};
    XTestFakeDeviceMotionEvent(display_, mouse_, True, 0, axes, 2, CurrentTime);
    XSync(display_, False);
}

void X11TestClient::setDeviceEnabled(int deviceId, bool enabled) {
    unsigned char value = enabled ? 1 : 0;
    XIChangeProperty(display_, deviceId, XInternAtom(display_, "Device Enabled", False), XA_INTEGER,
                     8, PropModeReplace, &value, 1);
    XSync(display_, False);
}

void X11TestClient::pointer(int& x, int& y) const {
    Window root = 0;
    Window child = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &windowX, &windowY,
                  &mask);
}

bool X11TestClient::keyDown(unsigned keycode) const {
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    return ((static_cast<unsigned char>(keys[keycode / 8]) >> (keycode % 8)) & 1U) != 0;
}

void X11TestClient::openReceiver() {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = KeyPressMask | KeyReleaseMask;
    receiver_ =
        XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 300, 200, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
    XMapRaised(display_, receiver_);
    XSync(display_, False);
    XSetInputFocus(display_, receiver_, RevertToParent, CurrentTime);
    XSync(display_, False);
}

std::vector<unsigned> X11TestClient::receivedPresses(int waitMs) {
    std::vector<unsigned> presses;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == KeyPress && event.xkey.window == receiver_) {
                presses.push_back(event.xkey.keycode);
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return presses;
        }
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

}  // namespace pontrel::test
