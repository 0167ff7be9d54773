#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/KeyAction.h"
#include "platform/wayland/HeldKeys.h"
#include "platform/wayland/TypingKeymap.h"

struct zwp_virtual_keyboard_v1;
struct xkb_state;

namespace pontrel {

class WaylandConnection;

// A virtual keyboard of the wlroots desktops, created once and kept: a new one loses its first
// keys on some seats. It types with keymaps of its own: the user's layout (so that named keys
// and chords are the user's keys) plus every character of a text the layout lacks, each on a
// keycode of its own, so any Unicode character arrives exactly.
class WlrKeyboard {
public:
    // Reads the user's layout from the seat; without a keyboard on the seat, the layout of the
    // XKB_DEFAULT_* variables or "us".
    explicit WlrKeyboard(WaylandConnection& connection);
    // Releases every key it holds.
    ~WlrKeyboard();
    WlrKeyboard(const WlrKeyboard&) = delete;
    WlrKeyboard& operator=(const WlrKeyboard&) = delete;

    bool usable() const { return keyboard_ != nullptr && layout_ && layout_->valid(); }

    // For a receiver behind XWayland: the keymap changes only between texts and events are
    // spaced, because XWayland loses events that come in a burst and X programs read a new
    // keymap late.
    void setPaced(bool paced) { paced_ = paced; }

    // Takes a keymap with every character of a text before its first key, so that a text that
    // fits into one keymap is typed without a change of keymap.
    bool prepare(std::u32string_view characters);
    bool pressKey(NamedKey key);
    bool releaseKey(NamedKey key);
    // Types the characters with the keys held now (Ctrl+Alt with a character gives the
    // character's AltGr level, as on Windows), stopping early once `cancelled` says so.
    bool typeText(std::u32string_view text, const std::function<bool()>& cancelled);
    // Lets go of every key pressed and not released.
    bool releaseAll();

private:
    bool ensureKeymap(const std::vector<Keysym>& keysyms, std::size_t from);
    bool upload(std::unique_ptr<XkbKeymap> keymap, std::vector<Keysym> extras);
    bool strikeKeysym(Keysym keysym, bool altGr);
    bool strike(const KeyStroke& stroke);
    bool sendKey(std::uint32_t keycode, bool down);
    bool sendModifiers(std::uint32_t extraMods, std::uint32_t group);
    bool pressLifted();
    Keysym altGrSubstitute(Keysym keysym) const;
    bool holds(NamedKey key) const;
    bool afterEvent();
    bool roundtrip();

    WaylandConnection& connection_;
    zwp_virtual_keyboard_v1* keyboard_ = nullptr;
    std::unique_ptr<TypingLayout> layout_;
    std::unique_ptr<XkbKeymap> current_;
    std::vector<Keysym> currentExtras_;
    struct StateDeleter {
        void operator()(xkb_state* state) const;
    };
    std::unique_ptr<xkb_state, StateDeleter> state_;  // the held keys on current_
    std::vector<HeldKey> held_;                       // in press order
    // Depressed, latched and locked modifiers and the group, as last sent.
    using Modifiers = std::array<std::uint32_t, 4>;
    std::optional<Modifiers> sentModifiers_;
    bool paced_ = false;
    int eventsSinceRoundtrip_ = 0;
};

}  // namespace pontrel
