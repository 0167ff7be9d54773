#pragma once

#include <memory>

#include "platform/InputService.h"

namespace pontrel {

class X11KeyState;
class X11InputBlocker;

// Synthesized input on X11: the input queue over an XTest sink with an X connection of its own,
// opened anew after a lost server. The key state and the input block come from the services
// given.
class X11InputService final : public InputService {
public:
    X11InputService(X11KeyState& keyState, X11InputBlocker& blocker);
    // Drops queued input, releases every key and button it holds and empties remapped keys.
    ~X11InputService() override;
    X11InputService(const X11InputService&) = delete;
    X11InputService& operator=(const X11InputService&) = delete;

    std::uint16_t asyncKeyState(int virtualKey) override;
    bool watchKeyChanges(std::function<void()> onChange) override;
    ScreenPoint cursorPos() override;
    Status setCursorPos(int x, int y) override;
    Status mouseEvent(int flags) override;
    Status sendKeys(const KeyActions& actions) override;
    void spaceNextInput(std::chrono::milliseconds gap) override;
    Status blockInput(bool block) override;
    void cancelQueuedInput() override;
    void drainQueuedInput() override;

    // For a SIGTERM/SIGINT handler: releases the keys and buttons the live service holds,
    // restores the keyboard group and Caps Lock and empties remapped keys, over a connection
    // kept for this alone. It takes no lock of ours and allocates nothing, so it may run while
    // the input thread is stopped anywhere. The process is expected to end right after.
    static void releaseHeldInputNow() noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pontrel
