#include "platform/x11/X11Recorder.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>

#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11EventData.h"
#include "platform/x11/X11EventThread.h"
#include "platform/x11/X11Queries.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

struct NamedKey {
    KeySym sym;
    const char* name;
};

// Keys that key text writes by name. Lock keys are left out: the characters they change are
// recorded as typed.
constexpr NamedKey namedKeys[] = {
    {XK_Return, "ENTER"},  {XK_KP_Enter, "ENTER"}, {XK_Tab, "TAB"},       {XK_ISO_Left_Tab, "TAB"},
    {XK_BackSpace, "BS"},  {XK_Delete, "DEL"},     {XK_KP_Delete, "DEL"}, {XK_Insert, "INS"},
    {XK_KP_Insert, "INS"}, {XK_Escape, "ESC"},     {XK_Up, "UP"},         {XK_KP_Up, "UP"},
    {XK_Down, "DOWN"},     {XK_KP_Down, "DOWN"},   {XK_Left, "LEFT"},     {XK_KP_Left, "LEFT"},
    {XK_Right, "RIGHT"},   {XK_KP_Right, "RIGHT"}, {XK_Home, "HOME"},     {XK_KP_Home, "HOME"},
    {XK_End, "END"},       {XK_KP_End, "END"},     {XK_Prior, "PGUP"},    {XK_KP_Prior, "PGUP"},
    {XK_Next, "PGDN"},     {XK_KP_Next, "PGDN"},
};
constexpr int functionKeyCount = 16;

std::optional<std::string> keyName(KeySym sym) {
    for (const NamedKey& key : namedKeys) {
        if (key.sym == sym) {
            return key.name;
        }
    }
    if (sym >= XK_F1 && sym < XK_F1 + functionKeyCount) {
        return "F" + std::to_string(sym - XK_F1 + 1);
    }
    return std::nullopt;
}

bool isModifierOrLock(KeySym sym) {
    return IsModifierKey(sym) || sym == XK_Scroll_Lock || sym == XK_Caps_Lock;
}

std::optional<RecordedButton> buttonOf(int detail) {
    switch (detail) {
        case Button1:
            return RecordedButton::Left;
        case Button2:
            return RecordedButton::Middle;
        case Button3:
            return RecordedButton::Right;
        default:
            return std::nullopt;  // wheel and side buttons
    }
}

std::string utf8Of(xkb_keysym_t sym) {
    std::array<char, 16> text{};
    return xkb_keysym_to_utf8(sym, text.data(), text.size()) > 0 ? std::string(text.data())
                                                                 : std::string();
}

// The locale whose compose table resolves dead keys, as the C library names it.
const char* composeLocale() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

}  // namespace

struct X11Recorder::Session {
    X11Connection connection;
    Display* display = nullptr;
    int xiOpcode = 0;
    int xkbEventBase = 0;
    X11EventThread thread;

    // Owned by the thread.
    XkbDescPtr keymap = nullptr;
    unsigned mods = 0;
    int group = 0;
    xkb_context* context = nullptr;
    xkb_compose_table* composeTable = nullptr;
    xkb_compose_state* compose = nullptr;

    std::mutex mutex;
    std::vector<RecordedInput> seen;  // guarded by mutex

    bool open();
    void readKeymap();
    void handle(XEvent& event);
    void keyPressed(unsigned keycode, std::int64_t time);
    void buttonPressed(int detail, std::int64_t time);
    // The text of a character key after dead keys; empty while a dead key waits for the next.
    std::string composed(KeySym sym);
    void add(RecordedInput input);
    void close();
};

bool X11Recorder::Session::open() {
    display = connection.open();
    if (display == nullptr) {
        return false;
    }
    const std::optional<int> opcode = xinput21Opcode(display);
    if (!opcode) {
        return false;
    }
    xiOpcode = *opcode;
    int xkbOpcode = 0;
    int xkbError = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &xkbOpcode, &xkbEventBase, &xkbError, &xkbMajor, &xkbMinor)) {
        return false;
    }
    // The state notifications arrive in order with the raw key events, so each key is read with
    // the modifiers and group in force when it went down.
    constexpr unsigned xkbEvents = XkbNewKeyboardNotifyMask | XkbMapNotifyMask | XkbStateNotifyMask;
    XkbSelectEvents(display, XkbUseCoreKbd, xkbEvents, xkbEvents);
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) == Success) {
        mods = state.mods;
        group = state.group;
    }
    readKeymap();

    // The masters only: each press once, whichever device made it.
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);

    context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context != nullptr) {
        composeTable = xkb_compose_table_new_from_locale(context, composeLocale(),
                                                         XKB_COMPOSE_COMPILE_NO_FLAGS);
    }
    if (composeTable != nullptr) {
        compose = xkb_compose_state_new(composeTable, XKB_COMPOSE_STATE_NO_FLAGS);
    }
    return true;
}

void X11Recorder::Session::readKeymap() {
    if (keymap != nullptr) {
        XkbFreeKeyboard(keymap, 0, True);
    }
    keymap = XkbGetMap(display, XkbAllClientInfoMask, XkbUseCoreKbd);
}

void X11Recorder::Session::handle(XEvent& event) {
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        readKeymap();
        return;
    }
    if (event.type == xkbEventBase) {
        const auto& xkb = reinterpret_cast<const XkbEvent&>(event);
        if (xkb.any.xkb_type == XkbStateNotify) {
            mods = xkb.state.mods;
            group = xkb.state.group;
        } else {
            // xdotool binds a spare keycode for a character the layout lacks and unbinds it
            // after the key went up: the new map must be read before that key's press.
            readKeymap();
        }
        return;
    }
    const X11EventData data(display, event, xiOpcode);
    if (!data) {
        return;
    }
    const auto& raw = data.as<XIRawEvent>();
    const auto time = static_cast<std::int64_t>(raw.time);
    if (data.type() == XI_RawKeyPress) {
        keyPressed(static_cast<unsigned>(raw.detail), time);
    } else if (data.type() == XI_RawButtonPress) {
        buttonPressed(raw.detail, time);
    }
}

void X11Recorder::Session::keyPressed(unsigned keycode, std::int64_t time) {
    if (keymap == nullptr) {
        return;
    }
    // Ctrl and Alt make a chord; the character is the one the key gives without them.
    const unsigned levelMods = mods & ~static_cast<unsigned>(ControlMask | Mod1Mask);
    unsigned consumed = 0;
    KeySym sym = NoSymbol;
    if (!XkbTranslateKeyCode(keymap, static_cast<KeyCode>(keycode),
                             XkbBuildCoreState(levelMods, group), &consumed, &sym) ||
        sym == NoSymbol || isModifierOrLock(sym)) {
        return;
    }
    RecordedInput input;
    input.time = time;
    input.ctrl = (mods & ControlMask) != 0;
    input.alt = (mods & Mod1Mask) != 0;
    if (const auto name = keyName(sym)) {
        input.kind = RecordedInput::Kind::Key;
        input.text = *name;
        input.shift = (mods & ShiftMask) != 0;
    } else {
        input.kind = RecordedInput::Kind::Character;
        input.text = composed(sym);
        if (input.text.empty()) {
            return;
        }
    }
    add(std::move(input));
}

std::string X11Recorder::Session::composed(KeySym sym) {
    const auto key = static_cast<xkb_keysym_t>(sym);
    if (compose == nullptr || xkb_compose_state_feed(compose, key) != XKB_COMPOSE_FEED_ACCEPTED) {
        return utf8Of(key);
    }
    switch (xkb_compose_state_get_status(compose)) {
        case XKB_COMPOSE_COMPOSING:
            return {};
        case XKB_COMPOSE_COMPOSED: {
            std::array<char, 64> text{};
            xkb_compose_state_get_utf8(compose, text.data(), text.size());
            xkb_compose_state_reset(compose);
            return text.data();
        }
        case XKB_COMPOSE_CANCELLED:
            xkb_compose_state_reset(compose);
            return {};
        case XKB_COMPOSE_NOTHING:
            break;
    }
    return utf8Of(key);
}

void X11Recorder::Session::buttonPressed(int detail, std::int64_t time) {
    const auto button = buttonOf(detail);
    if (!button) {
        return;
    }
    const std::optional<ScreenPoint> point = rootPointerPosition(display);
    if (!point) {
        return;
    }
    add(RecordedInput::click(time, *button, point->x, point->y));
}

void X11Recorder::Session::add(RecordedInput input) {
    std::lock_guard lock(mutex);
    seen.push_back(std::move(input));
}

void X11Recorder::Session::close() {
    thread.stop();
    xkb_compose_state_unref(compose);
    xkb_compose_table_unref(composeTable);
    xkb_context_unref(context);
    if (keymap != nullptr) {
        XkbFreeKeyboard(keymap, 0, True);
    }
    connection.close();
}

X11Recorder::X11Recorder() = default;

X11Recorder::~X11Recorder() {
    stopRecording();
}

std::string X11Recorder::unavailableReason() {
    if (!reason_) {
        Session probe;
        reason_ = probe.open()
                      ? std::string()
                      : std::string("Die Aufnahme braucht eine X11-Anzeige mit XInput 2.1.");
        probe.close();
    }
    return *reason_;
}

Status X11Recorder::startRecording() {
    stopRecording();
    auto session = std::make_unique<Session>();
    if (!session->open()) {
        session->close();
        return Status::failure("X11-Anzeige oder XInput 2.1 fehlt");
    }
    X11EventHandlers handlers;
    handlers.event = [s = session.get()](XEvent& event) { s->handle(event); };
    if (!session->thread.start(session->connection, std::move(handlers))) {
        session->close();
        return Status::failure("kein Thread für die Aufnahme");
    }
    session_ = std::move(session);
    return Status::success();
}

std::vector<RecordedInput> X11Recorder::takeRecorded() {
    if (!session_) {
        return {};
    }
    std::lock_guard lock(session_->mutex);
    return std::exchange(session_->seen, {});
}

void X11Recorder::stopRecording() {
    if (session_) {
        session_->close();
        session_.reset();
    }
}

}  // namespace pontrel
