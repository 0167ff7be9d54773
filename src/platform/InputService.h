#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/KeyAction.h"
#include "platform/ScreenPoint.h"
#include "platform/Status.h"

namespace pontrel {

// Key state bits of one virtual key, as the design reads them.
inline constexpr std::uint16_t keyDownNow = 0x8000;
inline constexpr std::uint16_t keyPressedSinceLastQuery = 0x0001;

// Mouse event flags of the design.
inline constexpr int mouseLeftDown = 2;
inline constexpr int mouseLeftUp = 4;
inline constexpr int mouseRightDown = 8;
inline constexpr int mouseRightUp = 16;
inline constexpr int mouseMiddleDown = 32;
inline constexpr int mouseMiddleUp = 64;

// Global keyboard state, pointer and synthesized input. Synthesized input goes into one ordered
// queue that a backend works off the user-interface thread; the calls return at once.
class InputService {
public:
    virtual ~InputService() = default;

    // The state of a virtual key for the whole desktop: keyDownNow while it is held,
    // keyPressedSinceLastQuery once after every press since the previous query of that key.
    virtual std::uint16_t asyncKeyState(int virtualKey) = 0;
    // Calls onChange, on any thread, whenever a key has gone down or up, so that a caller reads
    // the key state only then instead of polling it; an empty function ends the watch. False
    // where this backend cannot tell: the caller polls.
    virtual bool watchKeyChanges(std::function<void()> onChange) {
        (void)onChange;
        return false;
    }

    virtual ScreenPoint cursorPos() = 0;
    // False where cursorPos is right only over some windows (a Wayland desktop tells a program
    // the pointer only over its own windows).
    virtual bool knowsPointerEverywhere() { return true; }
    virtual Status setCursorPos(int x, int y) = 0;
    virtual Status mouseEvent(int flags) = 0;
    virtual Status sendKeys(const KeyActions& actions) = 0;
    // The input given next is delivered no sooner than `gap` after the input before it was
    // delivered, so that the wait between two commands holds at the receiver too. A backend that
    // delivers at once has nothing to space.
    virtual void spaceNextInput(std::chrono::milliseconds gap) { (void)gap; }

    // Blocks (true) or releases (false) the user's physical mouse and keyboard.
    virtual Status blockInput(bool block) = 0;

    // A stop by the user: drops queued synthesized input and releases every key it pressed.
    virtual void cancelQueuedInput() = 0;
    // The natural end of a run: waits, bounded, until queued input has been delivered.
    virtual void drainQueuedInput() = 0;
};

}  // namespace pontrel
