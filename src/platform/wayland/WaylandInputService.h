#pragma once

#include "platform/InputQueue.h"
#include "platform/InputService.h"

namespace pontrel {

// Synthesized input on a Wayland desktop: the shared queue over a backend's sink. A Wayland
// desktop tells no program where the pointer is or which keys are down; the key state and the
// input block come from services of their own where the desktop has them.
class WaylandInputService final : public InputService {
public:
    explicit WaylandInputService(InputSink& sink);

    std::uint16_t asyncKeyState(int virtualKey) override;
    ScreenPoint cursorPos() override;
    Status setCursorPos(int x, int y) override;
    Status mouseEvent(int flags) override;
    Status sendKeys(const KeyActions& actions) override;
    Status blockInput(bool block) override;
    void cancelQueuedInput() override;
    void drainQueuedInput() override;

private:
    InputQueue queue_;
};

}  // namespace pontrel
