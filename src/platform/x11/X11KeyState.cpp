#include "platform/x11/X11KeyState.h"

#include <array>
#include <bitset>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/InputService.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11EventData.h"
#include "platform/x11/X11EventThread.h"
#include "platform/x11/X11Queries.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

constexpr int keyCount = 256;
using VirtualKeys = std::bitset<keyCount>;
using Clock = std::chrono::steady_clock;

// An announcement that never meets its press (the typing failed) must not swallow a later
// press of the user.
constexpr auto announcementLifetime = std::chrono::seconds(1);

struct VirtualKeySyms {
    int virtualKey;
    KeySym first;
    KeySym second;  // NoSymbol if the key has one meaning only
};

// Virtual keys with their keysyms (group 1, level 1 of the core map).
constexpr VirtualKeySyms namedKeys[] = {
    {0x08, XK_BackSpace, NoSymbol},     {0x09, XK_Tab, XK_ISO_Left_Tab},
    {0x0D, XK_Return, XK_KP_Enter},     {0x10, XK_Shift_L, XK_Shift_R},
    {0x11, XK_Control_L, XK_Control_R}, {0x12, XK_Alt_L, XK_Alt_R},
    {0x13, XK_Pause, NoSymbol},         {0x14, XK_Caps_Lock, NoSymbol},
    {0x1B, XK_Escape, NoSymbol},        {0x20, XK_space, NoSymbol},
    {0x21, XK_Prior, NoSymbol},         {0x22, XK_Next, NoSymbol},
    {0x23, XK_End, NoSymbol},           {0x24, XK_Home, NoSymbol},
    {0x25, XK_Left, NoSymbol},          {0x26, XK_Up, NoSymbol},
    {0x27, XK_Right, NoSymbol},         {0x28, XK_Down, NoSymbol},
    {0x2C, XK_Print, NoSymbol},         {0x2D, XK_Insert, NoSymbol},
    {0x2E, XK_Delete, NoSymbol},        {0x5B, XK_Super_L, NoSymbol},
    {0x5C, XK_Super_R, NoSymbol},       {0x90, XK_Num_Lock, NoSymbol},
    {0x91, XK_Scroll_Lock, NoSymbol},   {0xA0, XK_Shift_L, NoSymbol},
    {0xA1, XK_Shift_R, NoSymbol},       {0xA2, XK_Control_L, NoSymbol},
    {0xA3, XK_Control_R, NoSymbol},     {0xA4, XK_Alt_L, NoSymbol},
    {0xA5, XK_Alt_R, NoSymbol},
};

constexpr int vkDigit0 = 0x30;
constexpr int vkLetterA = 0x41;
constexpr int vkNumpad0 = 0x60;
constexpr int vkF1 = 0x70;
constexpr int vkF13 = 0x7C;
constexpr int functionKeyCount = 24;

// Every virtual key a keysym stands for.
VirtualKeys virtualKeysOf(KeySym sym) {
    VirtualKeys keys;
    if (sym == NoSymbol) {
        return keys;
    }
    for (const auto& named : namedKeys) {
        if (named.first == sym || named.second == sym) {
            keys.set(static_cast<std::size_t>(named.virtualKey));
        }
    }
    if (sym >= XK_0 && sym <= XK_9) {
        keys.set(static_cast<std::size_t>(vkDigit0 + static_cast<int>(sym - XK_0)));
    } else if (sym >= XK_a && sym <= XK_z) {
        keys.set(static_cast<std::size_t>(vkLetterA + static_cast<int>(sym - XK_a)));
    } else if (sym >= XK_KP_0 && sym <= XK_KP_9) {
        keys.set(static_cast<std::size_t>(vkNumpad0 + static_cast<int>(sym - XK_KP_0)));
    } else if (sym >= XK_F1 && sym < XK_F1 + functionKeyCount) {
        keys.set(static_cast<std::size_t>(vkF1 + static_cast<int>(sym - XK_F1)));
    }
    return keys;
}

// The evdev rules bind the keys F13..F24 (key names FK13..FK24, keycodes 191..202) to XF86Tools
// and friends rather than to the F13..F24 keysyms, so these keys are also found by name.
VirtualKeys virtualKeysOfKeyName(const char (&name)[XkbKeyNameLength]) {
    VirtualKeys keys;
    if (name[0] != 'F' || name[1] != 'K') {
        return keys;
    }
    const int number = (name[2] - '0') * 10 + (name[3] - '0');
    if (number >= 13 && number <= functionKeyCount) {
        keys.set(static_cast<std::size_t>(vkF13 + number - 13));
    }
    return keys;
}

}  // namespace

struct X11KeyState::Impl {
    X11Connection connection;
    Display* display = nullptr;
    int xiOpcode = 0;
    int xkbEventBase = 0;
    X11EventThread thread;

    // Owned by the thread: the virtual keys of every keycode under the current keymap.
    std::array<VirtualKeys, keyCount> keysOfKeycode{};

    struct Announcement {
        unsigned keycode;
        Clock::time_point time;
    };

    std::mutex mutex;
    // Guarded by mutex. A keycode is translated when it goes down, so a keymap change while
    // it is held (xdotool remaps a spare keycode for a moment) does not lose the press.
    std::array<bool, keyCount> keycodeDown{};
    std::array<VirtualKeys, keyCount> downAs{};
    VirtualKeys pressedSinceQuery;
    std::vector<Announcement> announcements;

    // Held while the listener runs, so that replacing it waits for a call under way.
    std::mutex listenerMutex;
    std::function<void()> changeListener;

    bool open();
    void readKeymap();
    void seedFromKeymap();
    void handle(XEvent& event);
    void press(unsigned keycode);
    void release(unsigned keycode);
    bool takeAnnouncement(unsigned keycode);
    void tellListener();
};

bool X11KeyState::Impl::open() {
    display = connection.open();
    if (display == nullptr) {
        std::fprintf(stderr, "Key state: no X display\n");
        return false;
    }
    const std::optional<int> opcode = xinput21Opcode(display);
    if (!opcode) {
        std::fprintf(stderr, "Key state: XInput 2.1 is missing\n");
        return false;
    }
    xiOpcode = *opcode;
    int xkbOpcode = 0;
    int xkbError = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (XkbQueryExtension(display, &xkbOpcode, &xkbEventBase, &xkbError, &xkbMajor, &xkbMinor)) {
        XkbSelectEvents(display, XkbUseCoreKbd, XkbNewKeyboardNotifyMask | XkbMapNotifyMask,
                        XkbNewKeyboardNotifyMask | XkbMapNotifyMask);
    } else {
        xkbEventBase = -1;
    }

    // All devices, not only the masters: a slave grabbed by XIGrabDevice (an input block) is
    // detached, and its keys reach only listeners of the slave itself.
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);

    readKeymap();
    seedFromKeymap();
    XSync(display, False);
    return true;
}

void X11KeyState::Impl::readKeymap() {
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode),
                                       maxKeycode - minKeycode + 1, &perKeycode);
    XkbDescPtr names = XkbGetMap(display, 0, XkbUseCoreKbd);
    if (names != nullptr && XkbGetNames(display, XkbKeyNamesMask, names) != Success) {
        XkbFreeKeyboard(names, 0, True);
        names = nullptr;
    }
    keysOfKeycode = {};
    for (int keycode = minKeycode; keycode <= maxKeycode && keycode < keyCount; ++keycode) {
        auto& keys = keysOfKeycode[static_cast<std::size_t>(keycode)];
        if (syms != nullptr && perKeycode > 0) {
            keys = virtualKeysOf(syms[(keycode - minKeycode) * perKeycode]);
        }
        if (names != nullptr && names->names != nullptr && names->names->keys != nullptr) {
            keys |= virtualKeysOfKeyName(names->names->keys[keycode].name);
        }
    }
    if (syms != nullptr) {
        XFree(syms);
    }
    if (names != nullptr) {
        XkbFreeKeyboard(names, 0, True);
    }
}

// Keys already held when we start read as down, but not as freshly pressed.
void X11KeyState::Impl::seedFromKeymap() {
    char keys[32] = {};
    XQueryKeymap(display, keys);
    std::lock_guard lock(mutex);
    for (std::size_t keycode = 0; keycode < keyCount; ++keycode) {
        if ((static_cast<unsigned char>(keys[keycode / 8]) >> (keycode % 8)) & 1U) {
            keycodeDown[keycode] = true;
            downAs[keycode] = keysOfKeycode[keycode];
        }
    }
}

void X11KeyState::Impl::handle(XEvent& event) {
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        readKeymap();
        return;
    }
    if (xkbEventBase >= 0 && event.type == xkbEventBase) {
        readKeymap();
        return;
    }
    const X11EventData data(display, event, xiOpcode);
    if (!data) {
        return;
    }
    const auto& raw = data.as<XIRawEvent>();
    // An attached slave's key arrives twice, from the slave and from its master: count the
    // slave's copy only (deviceid == sourceid).
    if (raw.deviceid == raw.sourceid && raw.detail > 0 && raw.detail < keyCount) {
        const auto keycode = static_cast<unsigned>(raw.detail);
        if (data.type() == XI_RawKeyPress) {
            press(keycode);
            tellListener();
        } else if (data.type() == XI_RawKeyRelease) {
            release(keycode);
            tellListener();
        }
    }
}

void X11KeyState::Impl::press(unsigned keycode) {
    std::lock_guard lock(mutex);
    keycodeDown[keycode] = true;
    downAs[keycode] = keysOfKeycode[keycode];
    if (!takeAnnouncement(keycode)) {
        pressedSinceQuery |= downAs[keycode];
    }
}

void X11KeyState::Impl::release(unsigned keycode) {
    std::lock_guard lock(mutex);
    keycodeDown[keycode] = false;
}

bool X11KeyState::Impl::takeAnnouncement(unsigned keycode) {
    const auto now = Clock::now();
    std::erase_if(announcements,
                  [now](const Announcement& a) { return now - a.time > announcementLifetime; });
    for (auto it = announcements.begin(); it != announcements.end(); ++it) {
        if (it->keycode == keycode) {
            announcements.erase(it);
            return true;
        }
    }
    return false;
}

void X11KeyState::Impl::tellListener() {
    std::lock_guard lock(listenerMutex);
    if (changeListener) {
        changeListener();
    }
}

X11KeyState::X11KeyState() : impl_(std::make_unique<Impl>()) {
    if (impl_->open()) {
        X11EventHandlers handlers;
        handlers.event = [impl = impl_.get()](XEvent& event) { impl->handle(event); };
        impl_->thread.start(impl_->connection, std::move(handlers));
    }
}

X11KeyState::~X11KeyState() {
    impl_->thread.stop();
}

bool X11KeyState::available() const {
    return impl_->thread.running();
}

std::uint16_t X11KeyState::query(int virtualKey) {
    if (virtualKey <= 0 || virtualKey >= keyCount) {
        return 0;
    }
    const auto key = static_cast<std::size_t>(virtualKey);
    std::lock_guard lock(impl_->mutex);
    std::uint16_t state = 0;
    for (std::size_t keycode = 0; keycode < keyCount; ++keycode) {
        if (impl_->keycodeDown[keycode] && impl_->downAs[keycode].test(key)) {
            state |= keyDownNow;
        }
    }
    if (impl_->pressedSinceQuery.test(key)) {
        impl_->pressedSinceQuery.reset(key);
        state |= keyPressedSinceLastQuery;
    }
    return state;
}

void X11KeyState::setChangeListener(std::function<void()> onChange) {
    std::lock_guard lock(impl_->listenerMutex);
    impl_->changeListener = std::move(onChange);
}

void X11KeyState::announceSyntheticPress(unsigned keycode) {
    std::lock_guard lock(impl_->mutex);
    impl_->announcements.push_back({keycode, Clock::now()});
}

}  // namespace pontrel
