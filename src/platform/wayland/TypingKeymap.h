#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct xkb_context;
struct xkb_keymap;

namespace pontrel {

using Keysym = std::uint32_t;

// A key and what has to be held for it to give a keysym: an xkb keycode (evdev code + 8), the
// layout group and the modifier mask of the level.
struct KeyStroke {
    std::uint32_t keycode = 0;
    std::uint32_t group = 0;
    std::uint32_t mods = 0;
    bool operator==(const KeyStroke&) const = default;
};

// A compiled xkb keymap with a table from keysym to the easiest key that gives it (first group,
// fewest modifiers, lowest level, no Lock), among the keycodes X11 programs see (up to 255).
class XkbKeymap {
public:
    // Compiles the text; keymap() is null when it does not compile.
    explicit XkbKeymap(std::string text);
    ~XkbKeymap();
    XkbKeymap(const XkbKeymap&) = delete;
    XkbKeymap& operator=(const XkbKeymap&) = delete;

    bool valid() const { return keymap_ != nullptr; }
    const std::string& text() const { return text_; }
    xkb_keymap* keymap() const { return keymap_; }

    std::optional<KeyStroke> stroke(Keysym keysym) const;
    // The keysym of a key at the level the given modifiers select; 0 when it has none.
    Keysym keysymAt(std::uint32_t keycode, std::uint32_t group, std::uint32_t mods) const;
    // What the AltGr level (with Shift when asked) of the key that gives `keysym` gives; the
    // keysym itself when that level is empty or the layout has no AltGr.
    Keysym altGrKeysym(Keysym keysym, bool shift) const;
    // The mask of a named modifier ("Shift", "Control", "Mod1", "Mod5"); 0 when unknown.
    std::uint32_t modMask(const char* name) const;
    // The modifier mask a key sets while held down (0 for other keys).
    std::uint32_t modsOfKey(std::uint32_t keycode) const;

private:
    std::string text_;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::unordered_map<Keysym, KeyStroke> strokes_;
};

// The user's layout, and keymaps made from it that carry keysyms it lacks on keycodes it leaves
// unused. Only keycodes up to 255 are taken, since X11 programs under XWayland see no others.
class TypingLayout {
public:
    explicit TypingLayout(const std::string& layoutText);

    bool valid() const { return layout_->valid(); }
    const XkbKeymap& layout() const { return *layout_; }
    // How many keysyms one keymap can add.
    std::size_t capacity() const { return spares_.size(); }
    // The layout with the given keysyms added (at most capacity() of them, the rest are left
    // out); null when the result does not compile.
    std::unique_ptr<XkbKeymap> withKeysyms(const std::vector<Keysym>& extra) const;

private:
    struct Spare {
        std::uint32_t keycode;
        std::string name;  // empty: the layout gives this keycode no name
    };

    std::unique_ptr<XkbKeymap> layout_;
    std::vector<Spare> spares_;
};

}  // namespace pontrel
