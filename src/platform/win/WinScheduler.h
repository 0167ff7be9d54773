#pragma once

#include <functional>
#include <map>
#include <memory>

#include <windows.h>

#include "platform/Scheduler.h"

namespace pontrel {

// Timers through SetTimer on a message-only window of the user-interface thread, so they also
// fire inside the nested loops of message boxes and file dialogs.
class WinScheduler : public Scheduler {
public:
    WinScheduler();
    ~WinScheduler() override;
    WinScheduler(const WinScheduler&) = delete;
    WinScheduler& operator=(const WinScheduler&) = delete;

    TimerId startTimer(int intervalMs, std::function<void()> onTimeout) override;
    void stopTimer(TimerId id) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void fire(TimerId id);

    HWND window_ = nullptr;
    TimerId nextId_ = 1;
    // Shared, so a callback that stops its own timer keeps running to its end.
    std::map<TimerId, std::shared_ptr<std::function<void()>>> timers_;
};

}  // namespace pontrel
