#include "platform/x11/X11InputService.h"

#include <poll.h>
#include <sys/socket.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <variant>

#include "platform/x11/X11ErrorHandler.h"
#include "platform/x11/X11HeldInput.h"
#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11KeyState.h"
#include "platform/x11/X11Typist.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

using namespace std::chrono_literals;

constexpr auto cancelTimeout = 2s;
constexpr auto drainBaseTimeout = 2s;
// Text whose characters all need remapping takes up to about this long per action.
constexpr auto drainPerAction = 15ms;
// The largest coordinate the protocol carries.
constexpr int maxCoordinate = 32767;

struct PointerMove {
    int x;
    int y;
};
struct Buttons {
    int flags;
};
struct ReleaseHeld {};
using Work = std::variant<KeyActions, PointerMove, Buttons, ReleaseHeld>;

std::size_t weight(const Work& work) {
    const auto* keys = std::get_if<KeyActions>(&work);
    return keys != nullptr ? keys->size() : 1;
}

struct ButtonFlag {
    int flag;
    unsigned button;
    bool down;
};
// Several flags in one call are sent in this order.
constexpr ButtonFlag buttonFlags[] = {
    {mouseLeftDown, 1, true}, {mouseLeftUp, 1, false},    {mouseRightDown, 3, true},
    {mouseRightUp, 3, false}, {mouseMiddleDown, 2, true}, {mouseMiddleUp, 2, false},
};

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

    Status startLocked(std::unique_lock<std::mutex>& lock);
    void stopLocked(std::unique_lock<std::mutex>& lock);
    Status enqueue(Work work);
    void waitUntilIdle(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds timeout);
    void run();
    void move(const PointerMove& move);
    void press(const Buttons& buttons);
    void releaseButtons();

    X11KeyState& keyState;
    X11InputBlocker& blocker;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Work> queue;  // guarded by mutex, like the next four
    std::size_t busyWeight = 0;
    bool stopping = false;
    std::thread worker;
    std::atomic<unsigned> cancelGeneration{0};

    // Used by the worker thread only while it runs.
    Display* display = nullptr;
    unsigned xtestKeyboard = XkbUseCoreKbd;
    std::atomic<bool> connectionLost{false};
    X11HeldInput held;
    RescueConnection rescue;
    std::atomic<bool> rescueLost{false};

    std::mutex queryMutex;
    Display* queryDisplay = nullptr;  // guarded by queryMutex
    std::atomic<bool> queryLost{false};
};

Status X11InputService::Impl::startLocked(std::unique_lock<std::mutex>& lock) {
    if (worker.joinable() && !connectionLost) {
        return Status::success();
    }
    stopLocked(lock);
    display = openSurvivableDisplay(connectionLost);
    if (display == nullptr) {
        return Status::failure("cannot open the X display");
    }
    int event = 0;
    int error = 0;
    int xtestMajor = 0;
    int xtestMinor = 0;
    int opcode = 0;
    int xkbMajor = XkbMajorVersion;  // in: the version we speak
    int xkbMinor = XkbMinorVersion;
    if (!XTestQueryExtension(display, &event, &error, &xtestMajor, &xtestMinor) ||
        !XkbQueryExtension(display, &opcode, &event, &error, &xkbMajor, &xkbMinor)) {
        XCloseDisplay(display);
        display = nullptr;
        return Status::failure("the X server lacks the XTEST or XKEYBOARD extension");
    }
    xtestKeyboard = findXtestKeyboard(display);

    rescue.display = openSurvivableDisplay(rescueLost);
    if (rescue.display != nullptr) {
        rescue.emptyKeys =
            XkbGetMap(rescue.display, XkbKeyTypesMask | XkbKeySymsMask, xtestKeyboard);
        if (rescue.emptyKeys != nullptr) {
            XkbMapChangesRec unused{};
            for (int keycode = rescue.emptyKeys->min_key_code;
                 keycode <= rescue.emptyKeys->max_key_code; ++keycode) {
                XkbChangeTypesOfKey(rescue.emptyKeys, keycode, 0, XkbGroup1Mask, nullptr, &unused);
            }
            rescue.held = &held;
            rescue.inputSocket = ConnectionNumber(display);
            liveRescue = &rescue;
        }
    }
    worker = std::thread([this] { run(); });
    return Status::success();
}

// Ends the worker thread (after it dropped or finished its item) and closes its connections.
void X11InputService::Impl::stopLocked(std::unique_lock<std::mutex>& lock) {
    if (worker.joinable()) {
        queue.clear();
        ++cancelGeneration;
        stopping = true;
        wake.notify_all();
        lock.unlock();
        worker.join();
        lock.lock();
        stopping = false;
    }
    RescueConnection* expected = &rescue;
    liveRescue.compare_exchange_strong(expected, nullptr);
    if (rescue.emptyKeys != nullptr) {
        XkbFreeKeyboard(rescue.emptyKeys, 0, True);
        rescue.emptyKeys = nullptr;
    }
    if (rescue.display != nullptr) {
        XCloseDisplay(rescue.display);
        rescue.display = nullptr;
    }
    if (display != nullptr) {
        XCloseDisplay(display);
        display = nullptr;
    }
}

Status X11InputService::Impl::enqueue(Work work) {
    std::unique_lock lock(mutex);
    if (Status started = startLocked(lock); !started.ok()) {
        return started;
    }
    queue.push_back(std::move(work));
    wake.notify_one();
    return Status::success();
}

void X11InputService::Impl::waitUntilIdle(std::unique_lock<std::mutex>& lock,
                                          std::chrono::milliseconds timeout) {
    idle.wait_for(lock, timeout, [this] { return queue.empty() && busyWeight == 0; });
}

void X11InputService::Impl::run() {
    X11Typist typist(display, xtestKeyboard, keyState, held);
    for (;;) {
        Work work;
        unsigned generation = 0;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty()) {
                break;
            }
            work = std::move(queue.front());
            queue.pop_front();
            busyWeight = weight(work);
            generation = cancelGeneration;
        }
        const auto cancelled = [&] { return cancelGeneration != generation || connectionLost; };
        if (!connectionLost) {
            if (const auto* keys = std::get_if<KeyActions>(&work)) {
                typist.type(*keys, cancelled);
            } else if (const auto* pointer = std::get_if<PointerMove>(&work)) {
                move(*pointer);
            } else if (const auto* buttons = std::get_if<Buttons>(&work)) {
                press(*buttons);
            } else {
                releaseButtons();
            }
        }
        {
            std::lock_guard lock(mutex);
            busyWeight = 0;
            if (connectionLost) {
                queue.clear();
            }
        }
        idle.notify_all();
    }
    if (!connectionLost) {
        releaseButtons();
    }
}

void X11InputService::Impl::move(const PointerMove& move) {
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 1;
    unsigned height = 1;
    unsigned border = 0;
    unsigned depth = 0;
    XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border,
                 &depth);
    const int right = std::min(static_cast<int>(width), maxCoordinate + 1) - 1;
    const int bottom = std::min(static_cast<int>(height), maxCoordinate + 1) - 1;
    XTestFakeMotionEvent(display, DefaultScreen(display), std::clamp(move.x, 0, right),
                         std::clamp(move.y, 0, bottom), CurrentTime);
    XSync(display, False);
}

void X11InputService::Impl::press(const Buttons& buttons) {
    for (const ButtonFlag& flag : buttonFlags) {
        if (buttons.flags & flag.flag) {
            if (flag.down) {
                held.buttons[flag.button] = true;
            }
            XTestFakeButtonEvent(display, flag.button, flag.down ? True : False, CurrentTime);
        }
    }
    XSync(display, False);
    for (const ButtonFlag& flag : buttonFlags) {
        if ((buttons.flags & flag.flag) && !flag.down) {
            held.buttons[flag.button] = false;
        }
    }
}

void X11InputService::Impl::releaseButtons() {
    for (unsigned button = 1; button < held.buttons.size(); ++button) {
        if (held.buttons[button]) {
            XTestFakeButtonEvent(display, button, False, CurrentTime);
        }
    }
    XSync(display, False);
    for (auto& button : held.buttons) {
        button = false;
    }
}

X11InputService::X11InputService(X11KeyState& keyState, X11InputBlocker& blocker)
    : impl_(std::make_unique<Impl>(keyState, blocker)) {
    XInitThreads();
}

X11InputService::~X11InputService() {
    {
        std::unique_lock lock(impl_->mutex);
        impl_->stopLocked(lock);
    }
    std::lock_guard lock(impl_->queryMutex);
    if (impl_->queryDisplay != nullptr) {
        XCloseDisplay(impl_->queryDisplay);
    }
}

std::uint16_t X11InputService::asyncKeyState(int virtualKey) {
    return impl_->keyState.query(virtualKey);
}

bool X11InputService::watchKeyChanges(std::function<void()> onChange) {
    impl_->keyState.setChangeListener(std::move(onChange));
    return impl_->keyState.available();
}

ScreenPoint X11InputService::cursorPos() {
    std::lock_guard lock(impl_->queryMutex);
    if (impl_->queryDisplay != nullptr && impl_->queryLost) {
        XCloseDisplay(impl_->queryDisplay);
        impl_->queryDisplay = nullptr;
    }
    if (impl_->queryDisplay == nullptr) {
        impl_->queryDisplay = openSurvivableDisplay(impl_->queryLost);
        if (impl_->queryDisplay == nullptr) {
            return {};
        }
    }
    Display* display = impl_->queryDisplay;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX,
                       &windowY, &mask)) {
        return {};
    }
    return {rootX, rootY};
}

Status X11InputService::setCursorPos(int x, int y) {
    return impl_->enqueue(PointerMove{x, y});
}

Status X11InputService::mouseEvent(int flags) {
    const bool known = std::any_of(std::begin(buttonFlags), std::end(buttonFlags),
                                   [flags](const ButtonFlag& f) { return (flags & f.flag) != 0; });
    return known ? impl_->enqueue(Buttons{flags}) : Status::success();
}

Status X11InputService::sendKeys(const KeyActions& actions) {
    return actions.empty() ? Status::success() : impl_->enqueue(actions);
}

Status X11InputService::blockInput(bool block) {
    return impl_->blocker.setBlocked(block);
}

void X11InputService::cancelQueuedInput() {
    std::unique_lock lock(impl_->mutex);
    if (!impl_->worker.joinable()) {
        return;
    }
    impl_->queue.clear();
    ++impl_->cancelGeneration;
    impl_->queue.push_back(ReleaseHeld{});
    impl_->wake.notify_one();
    impl_->waitUntilIdle(lock, cancelTimeout);
}

void X11InputService::drainQueuedInput() {
    std::unique_lock lock(impl_->mutex);
    std::size_t actions = impl_->busyWeight;
    for (const Work& work : impl_->queue) {
        actions += weight(work);
    }
    impl_->waitUntilIdle(lock, drainBaseTimeout + drainPerAction * actions);
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
