#pragma once

#include <atomic>

#include "platform/InputQueue.h"
#include "platform/x11/X11HeldInput.h"
#include "platform/x11/X11Typist.h"

namespace pontrel {

class X11KeyState;

// Synthesized input with XTest on one connection, used from the queue's worker thread alone.
// Once the connection is lost every call does nothing.
class X11InputSink final : public InputSink {
public:
    X11InputSink(Display* display, const std::atomic<bool>& lost, unsigned xtestKeyboard,
                 X11KeyState& keyState, X11HeldInput& held);

    void beginText(const KeyActions& text) override;
    void pressKey(NamedKey key) override;
    void releaseKey(NamedKey key) override;
    void typeCharacters(std::u32string_view run, const CancelCheck& cancelled) override;
    void movePointer(ScreenPoint point) override;
    void pressButton(MouseButton button) override;
    void releaseButton(MouseButton button) override;
    void flush() override;

private:
    Display* display_;
    const std::atomic<bool>& lost_;
    X11HeldInput& held_;
    X11Typist typist_;
};

}  // namespace pontrel
