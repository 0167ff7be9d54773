#include "platform/x11/X11Keymap.h"

#include <algorithm>
#include <bit>

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

namespace pontrel {

namespace {

// Keycodes (evdev) that the hot keys watch: Escape, Return, KP_Enter, F1-F12 and F13, which
// xkb-data binds to XF86Tools. A remapped key there could trip a hot key.
constexpr unsigned watchedKeycodes[] = {9,  36, 104, 67, 68, 69, 70, 71,
                                        72, 73, 74,  75, 76, 95, 96, 191};

bool isWatched(unsigned keycode) {
    return std::find(std::begin(watchedKeycodes), std::end(watchedKeycodes), keycode) !=
           std::end(watchedKeycodes);
}

bool isDangerousKeysym(KeySym keysym) {
    return (keysym >= XK_F1 && keysym <= XK_F12) || keysym == XK_BackSpace ||
           keysym == XK_Terminate_Server ||
           (keysym >= XF86XK_Switch_VT_1 && keysym <= XF86XK_Switch_VT_12);
}

// The modifiers that select `level` of a key type, preferring the fewest; none when the level
// needs Caps Lock or Num Lock, whose locked state we do not control.
std::optional<unsigned> modsForLevel(const XkbKeyTypeRec& type, int level, unsigned avoid) {
    if (level == 0) {
        return 0u;
    }
    std::optional<unsigned> best;
    for (int i = 0; i < type.map_count; ++i) {
        const XkbKTMapEntryRec& entry = type.map[i];
        const unsigned mask = entry.mods.mask;
        if (!entry.active || entry.level != level || (mask & avoid) != 0) {
            continue;
        }
        if (!best || std::popcount(mask) < std::popcount(*best)) {
            best = mask;
        }
    }
    return best;
}

int levelForMods(const XkbKeyTypeRec& type, unsigned mods) {
    const unsigned relevant = mods & type.mods.mask;
    for (int i = 0; i < type.map_count; ++i) {
        if (type.map[i].active && type.map[i].mods.mask == relevant) {
            return type.map[i].level;
        }
    }
    return 0;
}

bool isKeypadKeysym(KeySym keysym) {
    return keysym >= XK_KP_Space && keysym <= XK_KP_Equal;
}

}  // namespace

bool X11Keymap::load(Display* display, unsigned deviceSpec, int activeGroup) {
    desc_ = {XkbGetMap(display,
                       XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask | XkbKeyActionsMask,
                       deviceSpec),
             [](XkbDescPtr desc) { XkbFreeKeyboard(desc, 0, True); }};
    byCharacter_.clear();
    byKeysym_.clear();
    keyMods_.fill(0);
    dangerous_.fill(false);
    spares_.clear();
    levelThreeMods_ = 0;
    numLockMods_ = 0;
    XkbDescPtr xkb = desc_.get();
    if (xkb == nullptr || xkb->map == nullptr || xkb->map->key_sym_map == nullptr) {
        return false;
    }

    for (int keycode = xkb->max_key_code; keycode >= xkb->min_key_code; --keycode) {
        const auto code = static_cast<unsigned>(keycode);
        const int groups = XkbKeyNumGroups(xkb, keycode);
        if (groups == 0) {
            if (!isWatched(code)) {
                spares_.push_back(code);
            }
            continue;
        }
        if (XkbKeyHasActions(xkb, keycode)) {
            const XkbAction* action = XkbKeyActionEntry(xkb, keycode, 0, 0);
            if (action->type == XkbSA_SetMods || action->type == XkbSA_LatchMods) {
                keyMods_[code] = (action->mods.flags & XkbSA_UseModMapMods)
                                     ? xkb->map->modmap[keycode]
                                     : action->mods.mask;
            }
        }
        if (XkbKeySymEntry(xkb, keycode, 0, 0) == XK_Num_Lock) {
            numLockMods_ = xkb->map->modmap[keycode];
        }
    }

    for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
        const auto code = static_cast<unsigned>(keycode);
        for (int group = 0; group < XkbKeyNumGroups(xkb, keycode); ++group) {
            const XkbKeyTypeRec& type = *XkbKeyKeyType(xkb, keycode, group);
            for (int level = 0; level < type.num_levels; ++level) {
                const KeySym keysym = XkbKeySymEntry(xkb, keycode, level, group);
                if (keysym == NoSymbol) {
                    continue;
                }
                dangerous_[code] = dangerous_[code] || isDangerousKeysym(keysym);
                const auto mods = modsForLevel(type, level, LockMask | numLockMods_);
                if (!mods) {
                    continue;
                }
                const KeyStroke stroke{code, group, *mods};
                const int rank = (group != activeGroup ? 1 << 20 : 0) +
                                 (std::popcount(*mods) << 16) + (level << 8) + keycode;
                consider(byKeysym_, static_cast<std::uint32_t>(keysym), stroke, rank);
                // Keypad keys change with Num Lock and mean something else to many programs.
                const std::uint32_t character =
                    xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
                if (character != 0 && !isKeypadKeysym(keysym)) {
                    consider(byCharacter_, character, stroke, rank);
                }
            }
        }
    }
    if (const auto altGr = strokeForKeysym(XK_ISO_Level3_Shift)) {
        levelThreeMods_ = modsOfKey(altGr->keycode);
    }
    return true;
}

void X11Keymap::consider(std::unordered_map<std::uint32_t, Candidate>& table, std::uint32_t key,
                         const KeyStroke& stroke, int rank) {
    const auto [it, inserted] = table.try_emplace(key, Candidate{stroke, rank});
    if (!inserted && rank < it->second.rank) {
        it->second = Candidate{stroke, rank};
    }
}

std::optional<KeyStroke> X11Keymap::strokeForCharacter(char32_t character) const {
    const auto it = byCharacter_.find(static_cast<std::uint32_t>(character));
    return it == byCharacter_.end() ? std::nullopt : std::optional(it->second.stroke);
}

std::optional<KeyStroke> X11Keymap::strokeForKeysym(KeySym keysym) const {
    const auto it = byKeysym_.find(static_cast<std::uint32_t>(keysym));
    return it == byKeysym_.end() ? std::nullopt : std::optional(it->second.stroke);
}

unsigned X11Keymap::keyForModifier(unsigned modBit) const {
    for (unsigned keycode = 0; keycode < keyMods_.size(); ++keycode) {
        if (keyMods_[keycode] == modBit) {
            return keycode;
        }
    }
    return 0;
}

std::optional<KeyStroke> X11Keymap::sameKeyWithMods(const KeyStroke& base, unsigned mods) const {
    XkbDescPtr xkb = desc_.get();
    const auto keycode = static_cast<int>(base.keycode);
    if (xkb == nullptr || base.group >= XkbKeyNumGroups(xkb, keycode)) {
        return std::nullopt;
    }
    const int level = levelForMods(*XkbKeyKeyType(xkb, keycode, base.group), mods);
    if (level == 0 || XkbKeySymEntry(xkb, keycode, level, base.group) == NoSymbol) {
        return std::nullopt;
    }
    return KeyStroke{base.keycode, base.group, mods};
}

}  // namespace pontrel
