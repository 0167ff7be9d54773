#include "platform/wayland/WlrKeyboard.h"

#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <thread>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/InputCodes.h"
#include "platform/wayland/SeatLayout.h"
#include "platform/wayland/WaylandConnection.h"
#include "virtual-keyboard-unstable-v1-client.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// Spacing of events for XWayland; proved exact at 250 µs and 1 ms per event.
constexpr auto pacedEventGap = 500us;
// Time for X programs to take in a new keymap before keys typed with it arrive.
constexpr auto pacedKeymapSettle = 150ms;
constexpr int eventsPerRoundtrip = 64;
constexpr int pacedEventsPerRoundtrip = 32;
// A seat's first keyboard makes every program ask for it anew; keys sent before they have are
// lost.
constexpr auto firstKeyboardSettle = 200ms;

}  // namespace

void WlrKeyboard::StateDeleter::operator()(xkb_state* state) const {
    xkb_state_unref(state);
}

WlrKeyboard::WlrKeyboard(WaylandConnection& connection) : connection_(connection) {
    if (!connection_.usable() || connection_.keyboardManager() == nullptr ||
        connection_.seat() == nullptr) {
        return;
    }
    const bool firstKeyboard = !connection_.seatHasKeyboard();
    layout_ = std::make_unique<TypingLayout>(readUserLayout(connection_));
    keyboard_ = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
        connection_.keyboardManager(), connection_.seat());
    if (!layout_->valid() || !upload(std::make_unique<XkbKeymap>(layout_->layout().text()), {})) {
        std::fprintf(stderr, "Wayland typing: the keyboard layout cannot be used\n");
    }
    if (firstKeyboard) {
        std::this_thread::sleep_for(firstKeyboardSettle);
    }
}

WlrKeyboard::~WlrKeyboard() {
    if (keyboard_ != nullptr) {
        (void)releaseAll();
        zwp_virtual_keyboard_v1_destroy(keyboard_);
        (void)connection_.roundtrip();
    }
}

bool WlrKeyboard::pressKey(NamedKey key) {
    if (!usable()) {
        return false;
    }
    const auto stroke = current_->stroke(namedKeysym(key));
    if (!stroke || !pressLifted()) {
        return false;
    }
    held_.push_back(HeldKey{key, stroke->keycode});
    return sendKey(stroke->keycode, true) && sendModifiers(0, 0);
}

bool WlrKeyboard::releaseKey(NamedKey key) {
    const std::optional<HeldKey> held = takeHeldKey(held_, key);
    return !held || held->lifted || (sendKey(held->keycode, false) && sendModifiers(0, 0));
}

bool WlrKeyboard::prepare(std::u32string_view characters) {
    std::vector<Keysym> keysyms;
    for (char32_t character : characters) {
        if (const Keysym keysym = characterKeysym(character); keysym != XKB_KEY_NoSymbol) {
            keysyms.push_back(keysym);
        }
    }
    return usable() && (keysyms.empty() || ensureKeymap(keysyms, 0));
}

bool WlrKeyboard::typeText(std::u32string_view text, const std::function<bool()>& cancelled) {
    std::vector<Keysym> keysyms;
    std::vector<bool> altGr;
    for (char32_t character : text) {
        const Keysym keysym = characterKeysym(character);
        if (keysym != XKB_KEY_NoSymbol) {
            keysyms.push_back(altGrSubstitute(keysym));
            altGr.push_back(keysyms.back() != keysym);
        }
    }
    for (std::size_t i = 0; i < keysyms.size() && !cancelled(); ++i) {
        if (!ensureKeymap(keysyms, i) || !strikeKeysym(keysyms[i], altGr[i])) {
            return false;
        }
    }
    return sendModifiers(0, 0);
}

bool WlrKeyboard::roundtrip() {
    eventsSinceRoundtrip_ = 0;
    return connection_.roundtrip();
}

bool WlrKeyboard::releaseAll() {
    bool ok = true;
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        if (!it->lifted) {
            ok = sendKey(it->keycode, false) && ok;
        }
    }
    held_.clear();
    return sendModifiers(0, 0) && roundtrip() && ok;
}

// Makes sure the keymap has the keysym at `from`; when it must change, the new one carries
// the missing keysyms of as much of the rest of the text as fits.
bool WlrKeyboard::ensureKeymap(const std::vector<Keysym>& keysyms, std::size_t from) {
    const auto covered = [this](Keysym keysym) {
        return layout_->layout().stroke(keysym) ||
               std::find(currentExtras_.begin(), currentExtras_.end(), keysym) !=
                   currentExtras_.end();
    };
    if (covered(keysyms[from])) {
        return true;
    }
    std::vector<Keysym> extras;
    for (std::size_t i = from; i < keysyms.size() && extras.size() < layout_->capacity(); ++i) {
        if (!layout_->layout().stroke(keysyms[i]) &&
            std::find(extras.begin(), extras.end(), keysyms[i]) == extras.end()) {
            extras.push_back(keysyms[i]);
        }
    }
    auto keymap = layout_->withKeysyms(extras);
    if (!keymap) {
        std::fprintf(stderr, "Wayland typing: no keymap for the characters of this text\n");
        return false;
    }
    return upload(std::move(keymap), std::move(extras));
}

bool WlrKeyboard::upload(std::unique_ptr<XkbKeymap> keymap, std::vector<Keysym> extras) {
    if (keyboard_ == nullptr || !keymap || !keymap->valid()) {
        return false;
    }
    const std::string& text = keymap->text();
    const int fd = memfd_create("pontrel-keymap", MFD_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written =
        write(fd, text.c_str(), text.size() + 1) == static_cast<ssize_t>(text.size() + 1);
    if (written) {
        zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<std::uint32_t>(text.size() + 1));
    }
    close(fd);
    if (!written) {
        return false;
    }
    // The held keys and locks carry over: the layout's keys keep their codes in every keymap.
    std::unique_ptr<xkb_state, StateDeleter> state(xkb_state_new(keymap->keymap()));
    if (state_) {
        xkb_state_update_mask(
            state.get(), xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_DEPRESSED), 0,
            xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_LOCKED), 0, 0, 0);
    }
    state_ = std::move(state);
    sentModifiers_.reset();  // a new keymap starts from no modifiers at the receiver
    current_ = std::move(keymap);
    currentExtras_ = std::move(extras);
    if (!sendModifiers(0, 0) || !roundtrip()) {
        return false;
    }
    if (paced_) {
        std::this_thread::sleep_for(pacedKeymapSettle);
    }
    return true;
}

// Ctrl+Alt with a character means its AltGr level on Windows; here that level is typed
// instead, with Ctrl and Alt let go for it.
Keysym WlrKeyboard::altGrSubstitute(Keysym keysym) const {
    if (keysym == XKB_KEY_NoSymbol || !holds(NamedKey::Ctrl) || !holds(NamedKey::Alt)) {
        return keysym;
    }
    return layout_->layout().altGrKeysym(keysym, holds(NamedKey::Shift));
}

bool WlrKeyboard::strikeKeysym(Keysym keysym, bool altGr) {
    const auto stroke = current_->stroke(keysym);
    if (!stroke) {
        return false;
    }
    if (!altGr) {
        return pressLifted() && strike(*stroke);
    }
    // Ctrl and Alt stay up until a key follows that is no AltGr character.
    for (HeldKey& held : held_) {
        if (!held.lifted && held.key != NamedKey::Shift) {
            held.lifted = true;
            if (!sendKey(held.keycode, false)) {
                return false;
            }
        }
    }
    return sendModifiers(0, 0) && strike(*stroke);
}

bool WlrKeyboard::strike(const KeyStroke& stroke) {
    // The level's modifiers and group are sent as state, without pressing their keys. Natively
    // they stay until a key needs others, so that a run of capitals costs no extra events;
    // XWayland misreads later keys unless they are taken back at once.
    return sendModifiers(stroke.mods, stroke.group) && sendKey(stroke.keycode, true) &&
           sendKey(stroke.keycode, false) && (!paced_ || sendModifiers(0, 0));
}

bool WlrKeyboard::sendKey(std::uint32_t keycode, bool down) {
    if (down) {
        // Ctrl+Alt+F1..F12 would switch the virtual terminal, Ctrl+Alt+BackSpace may end the
        // session.
        const Keysym keysym = xkb_state_key_get_one_sym(state_.get(), keycode);
        if (switchesTerminalOrEndsSession(keysym)) {
            std::fprintf(stderr, "Wayland typing: Ctrl+Alt with key %u is not sent\n", keycode);
            return true;
        }
    }
    zwp_virtual_keyboard_v1_key(
        keyboard_, WaylandConnection::eventTime(), keycode - 8,
        down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    xkb_state_update_key(state_.get(), keycode, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    return afterEvent();
}

// Sends the modifier state when it differs from what the receiver has: the held keys' state,
// plus the level's modifiers and group of the next key.
bool WlrKeyboard::sendModifiers(std::uint32_t extraMods, std::uint32_t group) {
    const Modifiers wanted = {
        xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_DEPRESSED) | extraMods,
        xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_LOCKED), group};
    if (sentModifiers_ == wanted) {
        return true;
    }
    sentModifiers_ = wanted;
    zwp_virtual_keyboard_v1_modifiers(keyboard_, wanted[0], wanted[1], wanted[2], wanted[3]);
    return afterEvent();
}

bool WlrKeyboard::pressLifted() {
    bool pressed = false;
    for (HeldKey& held : held_) {
        if (held.lifted) {
            held.lifted = false;
            pressed = true;
            if (!sendKey(held.keycode, true)) {
                return false;
            }
        }
    }
    return !pressed || sendModifiers(0, 0);
}

bool WlrKeyboard::holds(NamedKey key) const {
    return holdsKey(held_, key);
}

// Sends at the pace the receiver can take and never more than the socket holds.
bool WlrKeyboard::afterEvent() {
    if (paced_) {
        if (!connection_.flush()) {
            return false;
        }
        std::this_thread::sleep_for(pacedEventGap);
    }
    if (++eventsSinceRoundtrip_ >= (paced_ ? pacedEventsPerRoundtrip : eventsPerRoundtrip)) {
        return roundtrip();
    }
    return connection_.usable();
}

}  // namespace pontrel
