#include "platform/kde/FakeInputKeyboard.h"

#include <bit>
#include <cstdio>

#include <xkbcommon/xkbcommon.h>

#include "platform/kde/KWinFakeInput.h"
#include "platform/wayland/InputCodes.h"

namespace pontrel {

namespace {

constexpr Keysym modifierKeysyms[] = {
    XKB_KEY_Shift_L, XKB_KEY_Control_L,        XKB_KEY_Alt_L,      XKB_KEY_ISO_Level3_Shift,
    XKB_KEY_Super_L, XKB_KEY_ISO_Level5_Shift, XKB_KEY_Mode_switch};

}  // namespace

FakeInputKeyboard::FakeInputKeyboard(KWinFakeInput& device, std::string layout)
    : device_(device), layout_(std::move(layout)) {
    if (!layout_.valid()) {
        return;
    }
    for (const Keysym keysym : modifierKeysyms) {
        const auto stroke = layout_.stroke(keysym);
        if (!stroke || stroke->mods != 0 || stroke->group != 0) {
            continue;
        }
        const std::uint32_t mask = layout_.modsOfKey(stroke->keycode);
        if (std::popcount(mask) == 1) {
            modifierKey_.emplace(mask, stroke->keycode);
        }
    }
}

FakeInputKeyboard::~FakeInputKeyboard() {
    (void)releaseAll();
}

Keysym FakeInputKeyboard::target(Keysym keysym) const {
    return holds(NamedKey::Ctrl) && holds(NamedKey::Alt)
               ? layout_.altGrKeysym(keysym, holds(NamedKey::Shift))
               : keysym;
}

bool FakeInputKeyboard::canType(Keysym keysym) const {
    const auto stroke = layout_.stroke(target(keysym));
    std::vector<std::uint32_t> keys;
    return stroke && stroke->group == 0 && modifierKeys(stroke->mods, keys);
}

bool FakeInputKeyboard::type(Keysym keysym) {
    const Keysym wanted = target(keysym);
    const auto stroke = layout_.stroke(wanted);
    if (!stroke) {
        return false;
    }
    const bool ready = wanted != keysym ? lift(true) : pressLifted();
    return ready && strike(stroke->keycode, stroke->mods);
}

bool FakeInputKeyboard::paste() {
    const auto control = modifierKey_.find(layout_.modMask(XKB_MOD_NAME_CTRL));
    const auto v = layout_.stroke(XKB_KEY_v);
    if (control == modifierKey_.end() || !v || v->group != 0 || !lift(false)) {
        return false;
    }
    return device_.key(control->second, true) && strike(v->keycode, 0) &&
           device_.key(control->second, false);
}

bool FakeInputKeyboard::pressKey(NamedKey key) {
    const auto stroke = layout_.stroke(namedKeysym(key));
    if (!stroke || stroke->group != 0 || !pressLifted()) {
        return false;
    }
    // Ctrl+Alt+F1..F12 would switch the virtual terminal, Ctrl+Alt+BackSpace may end the
    // session.
    if (switchesTerminalOrEndsSession(layout_.keysymAt(stroke->keycode, 0, heldMods()))) {
        std::fprintf(stderr, "KWin typing: Ctrl+Alt with key %u is not sent\n", stroke->keycode);
        return true;
    }
    held_.push_back(HeldKey{key, stroke->keycode});
    return device_.key(stroke->keycode, true);
}

bool FakeInputKeyboard::releaseKey(NamedKey key) {
    const std::optional<HeldKey> held = takeHeldKey(held_, key);
    return !held || held->lifted || device_.key(held->keycode, false);
}

bool FakeInputKeyboard::releaseAll() {
    bool ok = true;
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        if (!it->lifted) {
            ok = device_.key(it->keycode, false) && ok;
        }
    }
    held_.clear();
    return device_.roundtrip() && ok;
}

bool FakeInputKeyboard::holds(NamedKey key) const {
    return holdsKey(held_, key);
}

std::uint32_t FakeInputKeyboard::heldMods() const {
    std::uint32_t mods = 0;
    for (const HeldKey& held : held_) {
        if (!held.lifted) {
            mods |= layout_.modsOfKey(held.keycode);
        }
    }
    return mods;
}

bool FakeInputKeyboard::modifierKeys(std::uint32_t mods, std::vector<std::uint32_t>& keys) const {
    std::uint32_t missing = mods & ~heldMods();
    while (missing != 0) {
        const std::uint32_t bit = missing & -missing;
        const auto key = modifierKey_.find(bit);
        if (key == modifierKey_.end()) {
            return false;
        }
        keys.push_back(key->second);
        missing &= ~bit;
    }
    return true;
}

// One key with the modifiers of its level that are not held already pressed around it.
bool FakeInputKeyboard::strike(std::uint32_t keycode, std::uint32_t mods) {
    std::vector<std::uint32_t> keys;
    if (!modifierKeys(mods, keys)) {
        return false;
    }
    for (const std::uint32_t key : keys) {
        if (!device_.key(key, true)) {
            return false;
        }
    }
    bool ok = device_.key(keycode, true) && device_.key(keycode, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        ok = device_.key(*it, false) && ok;
    }
    return ok;
}

bool FakeInputKeyboard::lift(bool keepShift) {
    for (HeldKey& held : held_) {
        if (!held.lifted && !(keepShift && held.key == NamedKey::Shift)) {
            held.lifted = true;
            if (!device_.key(held.keycode, false)) {
                return false;
            }
        }
    }
    return true;
}

bool FakeInputKeyboard::pressLifted() {
    for (HeldKey& held : held_) {
        if (held.lifted) {
            held.lifted = false;
            if (!device_.key(held.keycode, true)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace pontrel
