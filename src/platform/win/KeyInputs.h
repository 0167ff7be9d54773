#pragma once

#include <utility>
#include <vector>

#include <windows.h>

#include "platform/KeyAction.h"

namespace pontrel {

// Turns key actions into SendInput records. Named keys go as virtual keys. Characters go as
// Unicode packets, which need no keyboard layout; while Shift, Ctrl or Alt is held they go as the
// layout's virtual key instead, so that "^c" is Ctrl+C to the receiver and "^%q" is the AltGr
// level, as the classic keystroke sender does. A character the layout lacks stays a packet.
class KeyInputs {
public:
    explicit KeyInputs(HKL layout) : layout_(layout) {}

    void add(const KeyAction& action);
    void add(const KeyActions& actions);
    const std::vector<INPUT>& inputs() const { return inputs_; }
    // The records gathered so far; the held modifiers stay as they are.
    std::vector<INPUT> take() { return std::exchange(inputs_, {}); }

private:
    void key(WORD virtualKey, bool down);
    void unicode(char32_t character);
    void layoutKey(SHORT scan);

    HKL layout_;
    std::vector<INPUT> inputs_;
    bool shift_ = false;
    bool ctrl_ = false;
    bool alt_ = false;
};

}  // namespace pontrel
