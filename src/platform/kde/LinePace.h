#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

#include "platform/InputClock.h"

namespace pontrel {

// Spaces the characters typed into one line. A Qt field answers every key with the whole line
// around its cursor (for the desktop's input method), so its answers grow with the line; typed
// at full speed, a long line made it send faster than KWin took its requests in, and it lost its
// connection to the desktop. No event tells how far the field has got, so the gap before each
// character grows with the line typed so far and keeps the field's answers at a volume KWin
// takes in even when busy.
class LinePace {
public:
    explicit LinePace(InputClock& clock = steadyInputClock());

    // Waits until the character may go out and counts it into its line.
    void beforeCharacter(char32_t character);
    // Waits until a named key (an arrow, Backspace, a chord's key) may go out: the field answers
    // it with its line too.
    void beforeKey();
    // The field has read a paste of `count` characters: it has caught up with everything typed
    // before, and the characters join the line.
    void pasted(std::size_t count);
    // After a key that ends the line, and for a new text (what the field's line held before it
    // is not known).
    void startLine();

private:
    InputClock& clock_;
    std::mutex mutex_;
    std::condition_variable never_;  // nothing wakes a wait early: it ends at its time
    InputClock::Time due_{};
    std::size_t line_ = 0;
};

}  // namespace pontrel
