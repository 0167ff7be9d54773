#pragma once

#include <windows.h>

#include "platform/InputQueue.h"
#include "platform/win/KeyInputs.h"

namespace pontrel {

// Synthesized input through user32, used from the queue's worker thread alone. Key events are
// gathered and sent with SendInput in slices, so that a stop takes effect within one slice.
class WinInputSink final : public InputSink {
public:
    explicit WinInputSink(HKL layout) : keys_(layout) {}

    void pressKey(NamedKey key) override;
    void releaseKey(NamedKey key) override;
    void typeCharacters(std::u32string_view run, const CancelCheck& cancelled) override;
    void movePointer(ScreenPoint point) override;
    void pressButton(MouseButton button) override;
    void releaseButton(MouseButton button) override;
    void flush() override;

private:
    void add(const KeyAction& action);
    void mouse(DWORD flags);

    KeyInputs keys_;
};

}  // namespace pontrel
