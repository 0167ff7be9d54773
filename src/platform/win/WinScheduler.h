#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include <windows.h>

#include "platform/Scheduler.h"
#include "platform/TimerQueue.h"

namespace pontrel {

// Form timers on one SetTimer of a message-only window of the user-interface thread that wakes
// for the earliest due time, so that timers due together fire in the order the Scheduler
// contract gives. WM_TIMER also comes in the nested loops of message boxes and file dialogs.
class WinScheduler : public Scheduler {
public:
    WinScheduler();
    ~WinScheduler() override;
    WinScheduler(const WinScheduler&) = delete;
    WinScheduler& operator=(const WinScheduler&) = delete;

    TimerId startTimer(int intervalMs, std::function<void()> onTimeout) override;
    void stopTimer(TimerId id) override;
    void post(std::function<void()> work) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void fireDueTimers();
    void wakeForTheNext();
    void runPosted();

    HWND window_ = nullptr;
    TimerQueue queue_;
    std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
};

}  // namespace pontrel
