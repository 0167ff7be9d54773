#include "platform/wayland/TypingKeymap.h"

#include <algorithm>
#include <bit>
#include <set>
#include <sstream>
#include <tuple>

#include <xkbcommon/xkbcommon.h>

namespace pontrel {

namespace {

// The keycodes X11 programs see under XWayland.
constexpr std::uint32_t firstUsableKeycode = 9;
constexpr std::uint32_t lastX11Keycode = 255;
constexpr int maxMasksPerLevel = 16;

// Multimedia and launcher keys: the keycodes that carry only these are free for our keysyms.
bool isVendorKeysym(Keysym keysym) {
    return keysym >= 0x1008FF00 && keysym <= 0x1008FFFF;
}

struct StateDeleter {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using State = std::unique_ptr<xkb_state, StateDeleter>;

std::string keysymName(Keysym keysym) {
    char name[64] = {};
    xkb_keysym_get_name(keysym, name, sizeof name);
    return name;
}

bool startsWith(const std::string& line, const std::string& prefix) {
    const auto first = line.find_first_not_of(" \t");
    return first != std::string::npos && line.compare(first, prefix.size(), prefix) == 0;
}

bool endsBlock(const std::string& line) {
    const auto last = line.find_last_not_of(" \t\r");
    return last != std::string::npos && last >= 1 && line.compare(last - 1, 2, "};") == 0;
}

// "<AE11>" of a line starting "key <AE11> ...".
std::string keyName(const std::string& line) {
    const auto open = line.find('<');
    const auto close = line.find('>', open);
    return open == std::string::npos || close == std::string::npos
               ? std::string()
               : line.substr(open + 1, close - open - 1);
}

// A four-character key name (X11's limit) for a keycode the layout leaves unnamed.
std::string ownKeyName(std::uint32_t keycode) {
    std::string name = std::to_string(keycode);
    return "P" + std::string(3 - std::min<std::size_t>(name.size(), 3), '0') + name;
}

}  // namespace

XkbKeymap::XkbKeymap(std::string text) : text_(std::move(text)) {
    context_ = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (context_ == nullptr) {
        return;
    }
    keymap_ = xkb_keymap_new_from_string(context_, text_.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                         XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap_ == nullptr) {
        return;
    }
    const xkb_mod_mask_t lock = modMask(XKB_MOD_NAME_CAPS);
    // Best first: the lowest group, the fewest modifiers, the lowest level, the lowest keycode.
    using Rank = std::tuple<std::uint32_t, int, std::uint32_t>;
    std::unordered_map<Keysym, Rank> ranks;
    // Keys X11 programs cannot see are never typed, so that every target gets the same keys.
    const xkb_keycode_t last = std::min(xkb_keymap_max_keycode(keymap_), lastX11Keycode);
    for (xkb_keycode_t keycode = xkb_keymap_min_keycode(keymap_); keycode <= last; ++keycode) {
        const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap_, keycode);
        for (xkb_layout_index_t group = 0; group < groups; ++group) {
            const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap_, keycode, group);
            for (xkb_level_index_t level = 0; level < levels; ++level) {
                const xkb_keysym_t* syms = nullptr;
                if (xkb_keymap_key_get_syms_by_level(keymap_, keycode, group, level, &syms) != 1) {
                    continue;
                }
                xkb_mod_mask_t masks[maxMasksPerLevel] = {};
                const std::size_t count = xkb_keymap_key_get_mods_for_level(
                    keymap_, keycode, group, level, masks, maxMasksPerLevel);
                for (std::size_t i = 0; i < count; ++i) {
                    if (masks[i] & lock) {
                        continue;
                    }
                    const Rank rank{group, std::popcount(masks[i]), level};
                    const auto known = ranks.find(syms[0]);
                    if (known == ranks.end() || rank < known->second) {
                        ranks[syms[0]] = rank;
                        strokes_[syms[0]] = KeyStroke{keycode, group, masks[i]};
                    }
                }
            }
        }
    }
}

XkbKeymap::~XkbKeymap() {
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

std::optional<KeyStroke> XkbKeymap::stroke(Keysym keysym) const {
    const auto it = strokes_.find(keysym);
    return it != strokes_.end() ? std::optional(it->second) : std::nullopt;
}

Keysym XkbKeymap::keysymAt(std::uint32_t keycode, std::uint32_t group, std::uint32_t mods) const {
    const State state(xkb_state_new(keymap_));
    if (!state) {
        return 0;
    }
    xkb_state_update_mask(state.get(), mods, 0, 0, 0, 0, group);
    const xkb_level_index_t level = xkb_state_key_get_level(state.get(), keycode, group);
    const xkb_keysym_t* syms = nullptr;
    return xkb_keymap_key_get_syms_by_level(keymap_, keycode, group, level, &syms) == 1 ? syms[0]
                                                                                        : 0;
}

Keysym XkbKeymap::altGrKeysym(Keysym keysym, bool shift) const {
    const auto keyStroke = stroke(keysym);
    const auto levelThreeKey = stroke(XKB_KEY_ISO_Level3_Shift);
    if (!keyStroke || !levelThreeKey) {
        return keysym;
    }
    const Keysym altGr =
        keysymAt(keyStroke->keycode, keyStroke->group,
                 modsOfKey(levelThreeKey->keycode) | (shift ? modMask(XKB_MOD_NAME_SHIFT) : 0));
    return altGr != XKB_KEY_NoSymbol ? altGr : keysym;
}

std::uint32_t XkbKeymap::modMask(const char* name) const {
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap_, name);
    return index == XKB_MOD_INVALID ? 0 : 1U << index;
}

std::uint32_t XkbKeymap::modsOfKey(std::uint32_t keycode) const {
    const State state(xkb_state_new(keymap_));
    if (!state) {
        return 0;
    }
    xkb_state_update_key(state.get(), keycode, XKB_KEY_DOWN);
    return xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_DEPRESSED);
}

TypingLayout::TypingLayout(const std::string& layoutText)
    : layout_(std::make_unique<XkbKeymap>(layoutText)) {
    xkb_keymap* keymap = layout_->keymap();
    if (keymap == nullptr) {
        return;
    }
    for (std::uint32_t keycode = firstUsableKeycode; keycode <= lastX11Keycode; ++keycode) {
        const char* name = xkb_keymap_key_get_name(keymap, keycode);
        if (name == nullptr) {
            // A name of our own, unless the layout happens to use it.
            if (xkb_keymap_key_by_name(keymap, ownKeyName(keycode).c_str()) ==
                XKB_KEYCODE_INVALID) {
                spares_.push_back({keycode, {}});
            }
            continue;
        }
        bool free = layout_->modsOfKey(keycode) == 0;
        const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap, keycode);
        for (xkb_layout_index_t group = 0; free && group < groups; ++group) {
            const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, keycode, group);
            for (xkb_level_index_t level = 0; free && level < levels; ++level) {
                const xkb_keysym_t* syms = nullptr;
                const int count =
                    xkb_keymap_key_get_syms_by_level(keymap, keycode, group, level, &syms);
                free = std::all_of(syms, syms + count, isVendorKeysym);
            }
        }
        if (free) {
            spares_.push_back({keycode, name});
        }
    }
}

std::unique_ptr<XkbKeymap> TypingLayout::withKeysyms(const std::vector<Keysym>& extra) const {
    const std::size_t count = std::min(extra.size(), spares_.size());
    std::set<std::string> replaced;
    std::string newNames;
    std::string newKeys;
    for (std::size_t i = 0; i < count; ++i) {
        const Spare& spare = spares_[i];
        std::string name = spare.name;
        if (name.empty()) {
            name = ownKeyName(spare.keycode);
            newNames += "\t<" + name + "> = " + std::to_string(spare.keycode) + ";\n";
        } else {
            replaced.insert(name);
        }
        newKeys += "\tkey <" + name + "> { [ " + keysymName(extra[i]) + " ] };\n";
    }
    // The keymap text as libxkbcommon writes it: one section header per line, each key of the
    // symbols section a block from "key <NAME>" to the line ending in "};".
    std::istringstream in(layout_->text());
    std::string out;
    std::string line;
    bool inSymbols = false;
    bool skipping = false;
    while (std::getline(in, line)) {
        if (skipping) {
            skipping = !endsBlock(line);
            continue;
        }
        if (inSymbols && startsWith(line, "key <") && replaced.count(keyName(line)) != 0) {
            skipping = !endsBlock(line);
            continue;
        }
        out += line + '\n';
        if (startsWith(line, "xkb_keycodes")) {
            out += newNames;
        } else if (startsWith(line, "xkb_symbols")) {
            inSymbols = true;
            out += newKeys;
        }
    }
    auto keymap = std::make_unique<XkbKeymap>(std::move(out));
    return keymap->valid() ? std::move(keymap) : nullptr;
}

}  // namespace pontrel
