#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/KeyAction.h"
#include "platform/wayland/HeldKeys.h"
#include "platform/wayland/TypingKeymap.h"

namespace pontrel {

class KWinFakeInput;

// Typing through KWin's fake input, which takes keycodes only: every character on its key of the
// user's layout, with the keys of its level's modifiers pressed around it. What the layout lacks
// is the caller's to paste.
class FakeInputKeyboard {
public:
    FakeInputKeyboard(KWinFakeInput& device, std::string layout);
    // Releases every key it holds.
    ~FakeInputKeyboard();
    FakeInputKeyboard(const FakeInputKeyboard&) = delete;
    FakeInputKeyboard& operator=(const FakeInputKeyboard&) = delete;

    bool usable() const { return layout_.valid(); }

    // Whether the layout types the keysym with the keys held now: on its first group, with
    // modifiers it has keys for.
    bool canType(Keysym keysym) const;
    // Types a keysym canType() accepts. Ctrl+Alt with a character gives its AltGr level, as on
    // Windows: Ctrl and Alt are let go for it.
    bool type(Keysym keysym);
    // Ctrl+V, with every other key held let go for it.
    bool paste();
    bool pressKey(NamedKey key);
    bool releaseKey(NamedKey key);
    bool releaseAll();
    // Whether a key of a chord is held.
    bool holdsKeys() const { return !held_.empty(); }

private:
    Keysym target(Keysym keysym) const;
    bool holds(NamedKey key) const;
    std::uint32_t heldMods() const;
    // The keys that add the modifiers of `mods` not held already; false when one has no key.
    bool modifierKeys(std::uint32_t mods, std::vector<std::uint32_t>& keys) const;
    bool strike(std::uint32_t keycode, std::uint32_t mods);
    bool lift(bool keepShift);
    bool pressLifted();

    KWinFakeInput& device_;
    XkbKeymap layout_;
    std::map<std::uint32_t, std::uint32_t> modifierKey_;  // one-modifier mask → keycode
    std::vector<HeldKey> held_;                           // in press order
};

}  // namespace pontrel
