#pragma once

#include "platform/InputQueue.h"
#include "platform/InputService.h"
#include "platform/win/WinInputSink.h"

namespace pontrel {

// Key state, pointer and synthesized input through user32. Keys, pointer moves and buttons go
// into the ordered input queue, whose thread sends them, so a long text never holds up the
// window and a stop can cut it short.
class WinInputService : public InputService {
public:
    WinInputService();

    std::uint16_t asyncKeyState(int virtualKey) override;
    ScreenPoint cursorPos() override;
    Status setCursorPos(int x, int y) override;
    Status mouseEvent(int flags) override;
    Status sendKeys(const KeyActions& actions) override;
    void spaceNextInput(std::chrono::milliseconds gap) override;
    Status blockInput(bool block) override;
    void cancelQueuedInput() override;
    void drainQueuedInput() override;

private:
    WinInputSink sink_;
    InputQueue queue_{sink_};  // ends first: it releases through the sink
};

}  // namespace pontrel
