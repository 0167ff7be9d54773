#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/KeyAction.h"
#include "platform/x11/X11HeldInput.h"
#include "platform/x11/X11Keymap.h"

namespace pontrel {

class X11KeyState;

// Types key actions with XTest on one X connection, which it uses only from the calling thread.
// Characters come from the live keymap of the XTEST keyboard; those the layout lacks are put on
// spare keycodes for the time of the text.
class X11Typist {
public:
    X11Typist(Display* display, unsigned xtestKeyboard, X11KeyState& keyState, X11HeldInput& held);

    // Types one text, stopping early once `cancelled` returns true. Either way every key it
    // pressed is released, the keyboard group and Caps Lock are as they were and every remapped
    // keycode is empty again when it returns.
    void type(const KeyActions& actions, const std::function<bool()>& cancelled);

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
    struct Spare {
        unsigned keycode = 0;
        KeySym keysym = 0;  // NoSymbol: empty
        bool usedSinceSync = false;
        Clock::time_point deliveredBy{};
    };

    bool begin(const KeyActions& actions, const std::function<bool()>& cancelled);
    void finish();
    void perform(const KeyActions& actions, std::size_t index);
    void releaseModifier(NamedKey key);
    void typeCharacter(char32_t character, const KeyActions& actions, std::size_t index);
    void strike(const KeyStroke& stroke);
    std::optional<KeyStroke> strokeFor(KeySym keysym, const KeyActions& actions, std::size_t index);
    unsigned modifierKeycode(NamedKey key) const;
    bool holds(NamedKey key) const;
    void pressHeldModifiers();

    bool pressKey(unsigned keycode);
    void releaseKey(unsigned keycode);
    unsigned modsDown() const;
    bool wouldSwitchConsole(unsigned keycode) const;
    void useGroup(int group);
    void waitForUserModifiers(const std::function<bool()>& cancelled);

    KeySym keysymNeedingSpare(const KeyAction& action) const;
    void remapSpares(KeySym first, const KeyActions& actions, std::size_t index);
    void waitUntilReceiversCaughtUp(const std::vector<Spare*>& spares);
    void writeSpares(const std::vector<Spare*>& spares);
    void clearSpares();
    void flushSometimes();

    Display* display_;
    unsigned xtestKeyboard_;
    X11KeyState& keyState_;
    X11HeldInput& held_;
    X11Keymap keymap_;
    std::vector<unsigned> down_;  // in press order
    std::vector<HeldModifier> modifiers_;
    std::vector<Spare> spares_;
    int activeGroup_ = 0;
    int lockedGroup_ = 0;
    int currentGroup_ = 0;
    unsigned capsLockKey_ = 0;
    int unflushed_ = 0;
};

}  // namespace pontrel
