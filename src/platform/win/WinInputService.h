#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <variant>
#include <vector>

#include <windows.h>

#include "platform/InputService.h"

namespace pontrel {

// Key state, pointer and synthesized input through user32. Keys, pointer moves and buttons go
// into one ordered queue that a worker thread sends with SendInput, so a long text never holds
// up the window and a stop can cut it short.
class WinInputService : public InputService {
public:
    WinInputService();
    ~WinInputService() override;
    WinInputService(const WinInputService&) = delete;
    WinInputService& operator=(const WinInputService&) = delete;

    std::uint16_t asyncKeyState(int virtualKey) override;
    ScreenPoint cursorPos() override;
    Status setCursorPos(int x, int y) override;
    Status mouseEvent(int flags) override;
    Status sendKeys(const KeyActions& actions) override;
    Status blockInput(bool block) override;
    void cancelQueuedInput() override;
    void drainQueuedInput() override;

private:
    using Work = std::variant<std::vector<INPUT>, POINT>;

    void enqueue(Work work);
    void run();
    void send(const std::vector<INPUT>& inputs);
    void releaseHeldKeys();
    bool waitIdle(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Work> queue_;
    bool busy_ = false;
    bool cancel_ = false;
    bool quit_ = false;
    // Keys and buttons the worker pressed and has not released yet (worker thread only).
    std::set<WORD> heldKeys_;
    std::set<DWORD> heldButtons_;
    HKL layout_;
    std::thread worker_;
};

}  // namespace pontrel
