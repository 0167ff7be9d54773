#pragma once

#include <functional>

#include "platform/InputQueue.h"
#include "platform/InputService.h"

namespace pontrel {

// Synthesized input on a Wayland desktop: the shared queue over a backend's sink. A Wayland
// desktop tells no program where the pointer is or which keys are down, so those and the input
// block come from the sources given.
class WaylandInputService final : public InputService {
public:
    struct Sources {
        std::function<std::uint16_t(int virtualKey)> keyState;
        std::function<ScreenPoint()> pointer;
        std::function<Status(bool blocked)> block;
    };

    WaylandInputService(InputSink& sink, Sources sources);

    std::uint16_t asyncKeyState(int virtualKey) override;
    ScreenPoint cursorPos() override;
    bool knowsPointerEverywhere() override { return false; }
    Status setCursorPos(int x, int y) override;
    Status mouseEvent(int flags) override;
    Status sendKeys(const KeyActions& actions) override;
    Status blockInput(bool block) override;
    void cancelQueuedInput() override;
    void drainQueuedInput() override;
    void spaceNextInput(std::chrono::milliseconds gap) override;

private:
    InputQueue queue_;
    Sources sources_;
};

}  // namespace pontrel
