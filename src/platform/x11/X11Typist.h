#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/InputQueue.h"
#include "platform/KeyAction.h"
#include "platform/x11/X11HeldInput.h"
#include "platform/x11/X11Keymap.h"

namespace pontrel {

class X11KeyState;

// Types key texts with XTest on one X connection, which it uses only from the calling thread.
// Characters come from the live keymap of the XTEST keyboard; those the layout lacks are put on
// spare keycodes for the time of the text.
class X11Typist {
public:
    X11Typist(Display* display, unsigned xtestKeyboard, X11KeyState& keyState, X11HeldInput& held);

    // A text begins: reads the keymap, maps the first characters the layout lacks, lets go of
    // modifiers the user holds and unlocks Caps Lock.
    void begin(const KeyActions& text);
    void press(NamedKey key);
    void release(NamedKey key);
    void type(std::u32string_view run, const CancelCheck& cancelled);
    // The text ended, cut short or not: every key it pressed is released, the keyboard group
    // and Caps Lock are as they were and every remapped keycode is empty again.
    void finish();

private:
    using Clock = std::chrono::steady_clock;

    // A modifier the text holds. It goes down only before a key that it modifies, so that a
    // substituted AltGr does not flash Ctrl and Alt at the receiver.
    struct HeldModifier {
        NamedKey key;
        unsigned keycode;
        bool down = false;
        bool used = false;
    };
    // A named key held down with the level modifiers its symbol needs.
    struct PressedKey {
        NamedKey key;
        unsigned keycode;
        std::vector<unsigned> levelKeys;
    };
    struct Spare {
        unsigned keycode = 0;
        KeySym keysym = 0;  // NoSymbol: empty
        bool usedSinceSync = false;
        Clock::time_point deliveredBy{};
    };

    void releaseModifier(NamedKey key);
    void typeCharacter(char32_t character, std::u32string_view ahead);
    void strike(const KeyStroke& stroke);
    std::vector<unsigned> pressLevel(const KeyStroke& stroke);
    void releaseLevel(const std::vector<unsigned>& levelKeys);
    void markSpareUsed(unsigned keycode);
    std::optional<KeyStroke> strokeFor(KeySym keysym, std::u32string_view ahead);
    unsigned modifierKeycode(NamedKey key) const;
    bool holds(NamedKey key) const;
    void pressHeldModifiers();

    bool pressKey(unsigned keycode);
    void releaseKey(unsigned keycode);
    unsigned modsDown() const;
    bool wouldSwitchConsole(unsigned keycode) const;
    void useGroup(int group);
    void waitForUserModifiers();

    KeySym keysymNeedingSpare(const KeyAction& action) const;
    KeySym keysymNeedingSpare(char32_t character) const;
    void addWanted(std::vector<KeySym>& wanted, KeySym keysym) const;
    void remapSpares(const std::vector<KeySym>& wanted);
    void waitUntilReceiversCaughtUp(const std::vector<Spare*>& spares);
    void writeSpares(const std::vector<Spare*>& spares);
    void clearSpares();
    void flushSometimes();

    Display* display_;
    unsigned xtestKeyboard_;
    X11KeyState& keyState_;
    X11HeldInput& held_;
    X11Keymap keymap_;
    bool begun_ = false;
    bool ready_ = false;          // the keymap of the text is loaded
    std::vector<unsigned> down_;  // in press order
    std::vector<HeldModifier> modifiers_;
    std::vector<PressedKey> pressed_;
    std::vector<Spare> spares_;
    int activeGroup_ = 0;
    int lockedGroup_ = 0;
    int currentGroup_ = 0;
    unsigned capsLockKey_ = 0;
    int unflushed_ = 0;
};

}  // namespace pontrel
