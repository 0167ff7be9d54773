#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// Xlib's types, declared as Xlib does, so that its macros stay out of our headers.
typedef struct _XDisplay Display;
typedef unsigned long KeySym;
struct _XkbDesc;

namespace pontrel {

// A key in one group and the real modifiers that select the wanted level of it.
struct KeyStroke {
    unsigned keycode = 0;
    int group = 0;
    unsigned mods = 0;
};

// What a keymap offers for typing, read once from the server: the best key for every character
// and keysym, the keys that set the modifiers, and the keycodes without symbols that can be
// remapped for characters the layout lacks.
class X11Keymap {
public:
    // Reads the keymap of an XKB device (an XInput device id or XkbUseCoreKbd). Keys of
    // activeGroup are preferred. False when the server sent no map.
    bool load(Display* display, unsigned deviceSpec, int activeGroup);

    std::optional<KeyStroke> strokeForCharacter(char32_t character) const;
    std::optional<KeyStroke> strokeForKeysym(KeySym keysym) const;

    // The real modifiers a key sets while it is held (0 for other keys).
    unsigned modsOfKey(unsigned keycode) const { return keyMods_[keycode & 0xFF]; }
    // A key that sets exactly this one modifier bit, 0 when there is none.
    unsigned keyForModifier(unsigned modBit) const;
    // The modifiers of AltGr (ISO_Level3_Shift), 0 when the layout has no such key.
    unsigned levelThreeMods() const { return levelThreeMods_; }
    unsigned numLockMods() const { return numLockMods_; }

    // The stroke that types the level `mods` selects on the key of `base`, when that level
    // exists and carries a symbol.
    std::optional<KeyStroke> sameKeyWithMods(const KeyStroke& base, unsigned mods) const;

    // Keys that switch the console or end the server together with Ctrl+Alt (F1-F12,
    // BackSpace and wherever the layout puts XF86Switch_VT_n or Terminate_Server).
    bool dangerousWithCtrlAlt(unsigned keycode) const { return dangerous_[keycode & 0xFF]; }

    // Keycodes without any symbol, highest first, minus the keys watched as hot keys.
    const std::vector<unsigned>& spareKeycodes() const { return spares_; }

private:
    struct Candidate {
        KeyStroke stroke;
        int rank = 0;
    };
    void consider(std::unordered_map<std::uint32_t, Candidate>& table, std::uint32_t key,
                  const KeyStroke& stroke, int rank);

    std::unordered_map<std::uint32_t, Candidate> byCharacter_;
    std::unordered_map<std::uint32_t, Candidate> byKeysym_;
    std::array<unsigned, 256> keyMods_{};
    std::array<bool, 256> dangerous_{};
    std::vector<unsigned> spares_;
    unsigned levelThreeMods_ = 0;
    unsigned numLockMods_ = 0;
    std::unique_ptr<_XkbDesc, void (*)(_XkbDesc*)> desc_{nullptr, nullptr};
};

}  // namespace pontrel
