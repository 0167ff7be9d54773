#include "platform/x11/X11InputBlocker.h"

#include <cstdio>
#include <deque>
#include <future>
#include <mutex>
#include <set>
#include <utility>

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11EventData.h"
#include "platform/x11/X11EventThread.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

constexpr int keymapBytes = 32;

bool bitSet(const char* bits, int index) {
    return ((static_cast<unsigned char>(bits[index / 8]) >> (index % 8)) & 1U) != 0;
}

}  // namespace

struct X11InputBlocker::Impl {
    X11Connection connection;
    Display* display = nullptr;
    int xiOpcode = 0;

    struct Request {
        bool block;
        std::promise<Status> done;
    };
    std::mutex mutex;
    std::deque<Request> requests;  // guarded by mutex
    bool finished = false;         // guarded by mutex: the thread has ended
    std::mutex callMutex;          // one setBlocked at a time

    // Owned by the thread.
    bool blocked = false;
    std::set<int> grabbed;

    // Last, so that it ends before what it uses. All X calls on the connection happen there.
    X11EventThread thread;

    Status start();
    void stop();
    Status post(bool block);
    void end(bool stopped);
    void serveRequests();
    void handle(XEvent& event);
    Status grabAll();
    void ungrabAll();
    bool isXTestDevice(int deviceId);
    void releaseHeldKeys();
    bool isEmergencyChord(const XIDeviceEvent& event);
};

Status X11InputBlocker::Impl::start() {
    display = connection.open();
    if (display == nullptr) {
        return Status::failure("no X display");
    }
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    int xtestEvent = 0;
    int xtestError = 0;
    int xtestMajor = 0;
    int xtestMinor = 0;
    if (!XQueryExtension(display, "XInputExtension", &xiOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        !XTestQueryExtension(display, &xtestEvent, &xtestError, &xtestMajor, &xtestMinor)) {
        connection.close();
        return Status::failure("the X server lacks XInput 2 or XTest");
    }
    // Hot-plugged and re-enabled devices are blocked as they come.
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_HierarchyChanged);
    XIEventMask mask{XIAllDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    finished = false;
    X11EventHandlers handlers;
    handlers.event = [this](XEvent& received) { handle(received); };
    handlers.woken = [this] { serveRequests(); };
    handlers.ended = [this](bool stopped) { end(stopped); };
    const bool started = thread.start(connection, std::move(handlers));
    if (!started) {
        connection.close();
        return Status::failure("no input block thread");
    }
    return Status::success();
}

// Closing the connection ends every grab it holds.
void X11InputBlocker::Impl::stop() {
    thread.stop();
    connection.close();
}

Status X11InputBlocker::Impl::post(bool block) {
    std::future<Status> result;
    {
        std::lock_guard lock(mutex);
        if (finished) {
            return Status::failure("the X connection of the input block is lost");
        }
        requests.push_back({block, {}});
        result = requests.back().done.get_future();
    }
    if (!thread.wake()) {
        return Status::failure("input block thread unreachable");
    }
    return result.get();
}

// On the thread once it ends: lets the user's devices go, and whoever still waits must not
// wait forever. A server that went away took the grabs with it; its connection is not used.
void X11InputBlocker::Impl::end(bool stopped) {
    if (blocked && stopped && !connection.lost()) {
        ungrabAll();
        releaseHeldKeys();
    }
    blocked = false;
    grabbed.clear();
    std::lock_guard lock(mutex);
    finished = true;
    for (auto& request : requests) {
        request.done.set_value(Status::failure("input block thread ended"));
    }
    requests.clear();
}

void X11InputBlocker::Impl::serveRequests() {
    for (;;) {
        Request request;
        {
            std::lock_guard lock(mutex);
            if (requests.empty()) {
                return;
            }
            request = std::move(requests.front());
            requests.pop_front();
        }
        Status status = Status::success();
        if (request.block) {
            blocked = true;
            status = grabAll();
        } else {
            blocked = false;
            ungrabAll();
        }
        // Keys held across the change would otherwise stay down on the master device.
        releaseHeldKeys();
        request.done.set_value(std::move(status));
    }
}

void X11InputBlocker::Impl::handle(XEvent& event) {
    const X11EventData data(display, event, xiOpcode);
    if (!data) {
        return;
    }
    if (data.type() == XI_HierarchyChanged) {
        const auto& change = data.as<XIHierarchyEvent>();
        for (int i = 0; i < change.num_info; ++i) {
            // A disabled or removed device loses its grab; it is grabbed again when it returns.
            if ((change.info[i].flags & (XISlaveRemoved | XIDeviceDisabled)) != 0) {
                grabbed.erase(change.info[i].deviceid);
            }
        }
        if (blocked) {
            const Status status = grabAll();
            if (!status.ok()) {
                std::fprintf(stderr, "Input block: %s\n", status.message().c_str());
            }
        }
    } else if (data.type() == XI_KeyPress && blocked &&
               isEmergencyChord(data.as<XIDeviceEvent>())) {
        // Ctrl+Alt+Del releases the block, as on Windows. The chord itself was grabbed, so it
        // reached nobody.
        blocked = false;
        ungrabAll();
        releaseHeldKeys();
    }
}

Status X11InputBlocker::Impl::grabAll() {
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_KeyPress);
    XISetMask(bits, XI_KeyRelease);
    std::string refused;
    for (int i = 0; i < count; ++i) {
        const XIDeviceInfo& device = devices[i];
        const bool slave = device.use == XISlaveKeyboard || device.use == XISlavePointer ||
                           device.use == XIFloatingSlave;
        if (!slave || !device.enabled || grabbed.contains(device.deviceid) ||
            isXTestDevice(device.deviceid)) {
            continue;
        }
        // A device grab detaches the slave from its master: its events reach only us, while
        // XTest input, which flows through the master, still reaches everyone.
        XIEventMask mask{device.deviceid, sizeof bits, bits};
        const int result =
            XIGrabDevice(display, device.deviceid, DefaultRootWindow(display), CurrentTime, None,
                         XIGrabModeAsync, XIGrabModeAsync, False, &mask);
        if (result == GrabSuccess) {
            grabbed.insert(device.deviceid);
        } else {
            // AlreadyGrabbed: a screen locker or a drag holds the device.
            refused += refused.empty() ? "" : ", ";
            refused += device.name;
        }
    }
    XIFreeDeviceInfo(devices);
    XSync(display, False);
    if (!refused.empty()) {
        return Status::failure("could not block " + refused);
    }
    return Status::success();
}

void X11InputBlocker::Impl::ungrabAll() {
    for (int device : grabbed) {
        XIUngrabDevice(display, device, CurrentTime);
    }
    grabbed.clear();
    XSync(display, False);
}

// The server gives each XTest slave the property "XTEST Device" = 1 (8-bit INTEGER).
bool X11InputBlocker::Impl::isXTestDevice(int deviceId) {
    const Atom property = XInternAtom(display, "XTEST Device", True);
    if (property == None) {
        return false;
    }
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool found = XIGetProperty(display, deviceId, property, 0, 1, False, XA_INTEGER, &type,
                                     &format, &items, &after, &data) == Success &&
                       data != nullptr && items == 1 && format == 8 && data[0] != 0;
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}

// Releases, with XTest, every key the master keyboard holds that no XTest keyboard holds: keys
// of the user stay down on the master while the grab hides their release (measured), whereas
// keys our own typing holds must stay as they are.
void X11InputBlocker::Impl::releaseHeldKeys() {
    char held[keymapBytes] = {};
    XQueryKeymap(display, held);
    char synthetic[keymapBytes] = {};
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        if (devices[i].use != XISlaveKeyboard || !isXTestDevice(devices[i].deviceid)) {
            continue;
        }
        XDevice* device = XOpenDevice(display, static_cast<XID>(devices[i].deviceid));
        if (device == nullptr) {
            continue;
        }
        if (XDeviceState* state = XQueryDeviceState(display, device)) {
            auto* item = state->data;
            for (int c = 0; c < state->num_classes; ++c) {
                if (item->c_class == KeyClass) {
                    const auto* keys = reinterpret_cast<const XKeyState*>(item);
                    for (int b = 0; b < keymapBytes; ++b) {
                        synthetic[b] = static_cast<char>(synthetic[b] | keys->keys[b]);
                    }
                }
                item = reinterpret_cast<XInputClass*>(reinterpret_cast<char*>(item) + item->length);
            }
            XFreeDeviceState(state);
        }
        XCloseDevice(display, device);
    }
    XIFreeDeviceInfo(devices);
    for (int keycode = 8; keycode < keymapBytes * 8; ++keycode) {
        if (bitSet(held, keycode) && !bitSet(synthetic, keycode)) {
            XTestFakeKeyEvent(display, static_cast<unsigned>(keycode), False, CurrentTime);
        }
    }
    XSync(display, False);
}

bool X11InputBlocker::Impl::isEmergencyChord(const XIDeviceEvent& event) {
    int perKeycode = 0;
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(event.detail), 1, &perKeycode);
    const bool isDelete =
        syms != nullptr && perKeycode > 0 && (syms[0] == XK_Delete || syms[0] == XK_KP_Delete);
    if (syms != nullptr) {
        XFree(syms);
    }
    if (!isDelete || (event.mods.effective & ControlMask) == 0) {
        return false;
    }
    // Alt is whichever modifier Alt_L is bound to (Mod1 almost everywhere).
    unsigned altMask = 0;
    const KeyCode altKey = XKeysymToKeycode(display, XK_Alt_L);
    if (XModifierKeymap* modifiers = XGetModifierMapping(display)) {
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int k = 0; k < modifiers->max_keypermod; ++k) {
                if (altKey != 0 &&
                    modifiers->modifiermap[modifier * modifiers->max_keypermod + k] == altKey) {
                    altMask |= 1U << modifier;
                }
            }
        }
        XFreeModifiermap(modifiers);
    }
    return (static_cast<unsigned>(event.mods.effective) & altMask) != 0;
}

X11InputBlocker::X11InputBlocker() : impl_(std::make_unique<Impl>()) {}

X11InputBlocker::~X11InputBlocker() {
    impl_->stop();
}

Status X11InputBlocker::setBlocked(bool blocked) {
    std::lock_guard lock(impl_->callMutex);
    if (!impl_->thread.running()) {
        if (!blocked) {
            return Status::success();  // nothing was ever blocked
        }
        if (Status started = impl_->start(); !started.ok()) {
            return started;
        }
    }
    return impl_->post(blocked);
}

}  // namespace pontrel
