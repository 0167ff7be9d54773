#include "platform/x11/X11InputService.h"

#include <poll.h>
#include <sys/socket.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/InputQueue.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HeldInput.h"
#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11InputSink.h"
#include "platform/x11/X11KeyState.h"
#include "platform/x11/X11Queries.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

// The slave keyboard through which XTest input arrives; its keymap is the one our keys are
// read with. XkbUseCoreKbd when the server does not tell.
unsigned findXtestKeyboard(Display* display) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        return XkbUseCoreKbd;
    }
    unsigned keyboard = XkbUseCoreKbd;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        if (devices[i].use == XISlaveKeyboard && std::strstr(devices[i].name, "XTEST") != nullptr) {
            keyboard = static_cast<unsigned>(devices[i].deviceid);
            break;
        }
    }
    XIFreeDeviceInfo(devices);
    return keyboard;
}

bool hasXtestAndXkb(Display* display) {
    int event = 0;
    int error = 0;
    int xtestMajor = 0;
    int xtestMinor = 0;
    int opcode = 0;
    int xkbMajor = XkbMajorVersion;  // in: the version we speak
    int xkbMinor = XkbMinorVersion;
    return XTestQueryExtension(display, &event, &error, &xtestMajor, &xtestMinor) &&
           XkbQueryExtension(display, &opcode, &event, &error, &xkbMajor, &xkbMinor);
}

// How long the signal hook waits for the server to close the input thread's connection.
constexpr int serverCloseTimeoutMs = 1000;

// What the signal hook needs, prepared while nothing is in a hurry.
struct RescueConnection {
    Display* display = nullptr;
    int inputSocket = -1;            // the input thread's connection
    XkbDescPtr emptyKeys = nullptr;  // the XTEST keymap with every key empty
    X11HeldInput* held = nullptr;
};

std::atomic<RescueConnection*> liveRescue{nullptr};

}  // namespace

struct X11InputService::Impl {
    Impl(X11KeyState& keyState, X11InputBlocker& blocker) : keyState(keyState), blocker(blocker) {}

    Status start();
    void prepareRescue(Display* display, unsigned xtestKeyboard);
    void stop();

    X11KeyState& keyState;
    X11InputBlocker& blocker;

    std::mutex mutex;  // guards everything below but the query connection
    X11Connection connection;
    X11HeldInput held;
    std::unique_ptr<X11InputSink> sink;
    std::unique_ptr<InputQueue> queue;
    X11Connection rescueConnection;
    RescueConnection rescue;

    std::mutex queryMutex;
    X11Connection query;  // guarded by queryMutex
};

// Connects the queue to the server, anew once the server was lost.
Status X11InputService::Impl::start() {
    if (queue != nullptr && !connection.lost()) {
        return Status::success();
    }
    stop();
    Display* display = connection.open();
    if (display == nullptr) {
        return Status::failure("cannot open the X display");
    }
    if (!hasXtestAndXkb(display)) {
        connection.close();
        return Status::failure("the X server lacks the XTEST or XKEYBOARD extension");
    }
    const unsigned xtestKeyboard = findXtestKeyboard(display);
    prepareRescue(display, xtestKeyboard);
    sink = std::make_unique<X11InputSink>(display, connection.lostFlag(), xtestKeyboard, keyState,
                                          held);
    queue = std::make_unique<InputQueue>(*sink);
    return Status::success();
}

void X11InputService::Impl::prepareRescue(Display* display, unsigned xtestKeyboard) {
    rescue.display = rescueConnection.open();
    if (rescue.display == nullptr) {
        return;
    }
    rescue.emptyKeys = XkbGetMap(rescue.display, XkbKeyTypesMask | XkbKeySymsMask, xtestKeyboard);
    if (rescue.emptyKeys == nullptr) {
        return;
    }
    XkbMapChangesRec unused{};
    for (int keycode = rescue.emptyKeys->min_key_code; keycode <= rescue.emptyKeys->max_key_code;
         ++keycode) {
        XkbChangeTypesOfKey(rescue.emptyKeys, keycode, 0, XkbGroup1Mask, nullptr, &unused);
    }
    rescue.held = &held;
    rescue.inputSocket = ConnectionNumber(display);
    liveRescue = &rescue;
}

// Ends the queue (which releases what it holds) and closes the connections.
void X11InputService::Impl::stop() {
    queue.reset();
    sink.reset();
    RescueConnection* expected = &rescue;
    liveRescue.compare_exchange_strong(expected, nullptr);
    if (rescue.emptyKeys != nullptr) {
        XkbFreeKeyboard(rescue.emptyKeys, 0, True);
    }
    rescue = {};
    rescueConnection.close();
    connection.close();
}

X11InputService::X11InputService(X11KeyState& keyState, X11InputBlocker& blocker)
    : impl_(std::make_unique<Impl>(keyState, blocker)) {}

X11InputService::~X11InputService() {
    const std::lock_guard lock(impl_->mutex);
    impl_->stop();
}

std::uint16_t X11InputService::asyncKeyState(int virtualKey) {
    return impl_->keyState.query(virtualKey);
}

bool X11InputService::watchKeyChanges(std::function<void()> onChange) {
    impl_->keyState.setChangeListener(std::move(onChange));
    return impl_->keyState.available();
}

ScreenPoint X11InputService::cursorPos() {
    const std::lock_guard lock(impl_->queryMutex);
    Display* display = impl_->query.open();
    if (display == nullptr) {
        return {};
    }
    return rootPointerPosition(display).value_or(ScreenPoint{});
}

Status X11InputService::setCursorPos(int x, int y) {
    const std::lock_guard lock(impl_->mutex);
    Status started = impl_->start();
    if (started.ok()) {
        impl_->queue->movePointer({x, y});
    }
    return started;
}

Status X11InputService::mouseEvent(int flags) {
    const std::lock_guard lock(impl_->mutex);
    Status started = impl_->start();
    return started.ok() ? impl_->queue->mouseEvent(flags) : started;
}

Status X11InputService::sendKeys(const KeyActions& actions) {
    if (actions.empty()) {
        return Status::success();
    }
    const std::lock_guard lock(impl_->mutex);
    Status started = impl_->start();
    if (started.ok()) {
        impl_->queue->sendKeys(actions);
    }
    return started;
}

void X11InputService::spaceNextInput(std::chrono::milliseconds gap) {
    const std::lock_guard lock(impl_->mutex);
    if (impl_->queue != nullptr) {
        impl_->queue->spaceNext(gap);
    }
}

Status X11InputService::blockInput(bool block) {
    return impl_->blocker.setBlocked(block);
}

void X11InputService::cancelQueuedInput() {
    const std::lock_guard lock(impl_->mutex);
    if (impl_->queue != nullptr) {
        impl_->queue->cancel();
    }
}

void X11InputService::drainQueuedInput() {
    const std::lock_guard lock(impl_->mutex);
    if (impl_->queue != nullptr) {
        impl_->queue->drain();
    }
}

void X11InputService::releaseHeldInputNow() noexcept {
    RescueConnection* rescue = liveRescue.exchange(nullptr);
    if (rescue == nullptr) {
        return;
    }
    // The input thread may be sending right now. End its connection and wait until the server
    // has worked off what it already received and closed it, so that nothing of it lands after
    // the cleanup. Its next write fails instead of killing the process with SIGPIPE.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, nullptr);
    shutdown(rescue->inputSocket, SHUT_WR);
    pollfd closedByServer{rescue->inputSocket, POLLRDHUP, 0};
    while (poll(&closedByServer, 1, serverCloseTimeoutMs) < 0 && errno == EINTR) {
    }
    Display* display = rescue->display;
    X11HeldInput& held = *rescue->held;
    for (unsigned keycode = 0; keycode < held.keys.size(); ++keycode) {
        if (held.keys[keycode]) {
            XTestFakeKeyEvent(display, keycode, False, CurrentTime);
        }
    }
    for (unsigned button = 1; button < held.buttons.size(); ++button) {
        if (held.buttons[button]) {
            XTestFakeButtonEvent(display, button, False, CurrentTime);
        }
    }
    if (const int group = held.lockedGroupToRestore; group >= 0) {
        XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>(group));
    }
    if (const unsigned capsLock = held.capsLockKeyToTap) {
        XTestFakeKeyEvent(display, capsLock, True, CurrentTime);
        XTestFakeKeyEvent(display, capsLock, False, CurrentTime);
    }
    for (unsigned keycode = 0; keycode < held.remapped.size(); ++keycode) {
        if (held.remapped[keycode]) {
            XkbMapChangesRec changes{};
            changes.changed = XkbKeySymsMask;
            changes.first_key_sym = static_cast<KeyCode>(keycode);
            changes.num_key_syms = 1;
            XkbChangeMap(display, rescue->emptyKeys, &changes);
        }
    }
    // Done once the process is gone: the server has carried all of it out.
    XSync(display, False);
}

}  // namespace pontrel
