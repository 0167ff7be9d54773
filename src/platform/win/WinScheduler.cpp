#include "platform/win/WinScheduler.h"

#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace pontrel {

namespace {

constexpr wchar_t className[] = L"PontrelTimerWindow";
constexpr UINT_PTR wakeTimer = 1;
constexpr UINT postedWork = WM_APP;
// WM_TIMER follows the system tick and may come a little before the time asked for; what is due
// within this margin fires now rather than a whole minimum timer period later.
constexpr std::chrono::milliseconds tickMargin(1);

void registerClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

TimerQueue::Time now() {
    return std::chrono::steady_clock::now().time_since_epoch();
}

}  // namespace

WinScheduler::WinScheduler() : queue_([this] { wakeForTheNext(); }) {
    // The system tick of 15.6 ms would make the 10 ms timers of the form coarse.
    timeBeginPeriod(1);
    registerClass(&WinScheduler::windowProc);
    window_ = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinScheduler::~WinScheduler() {
    KillTimer(window_, wakeTimer);
    DestroyWindow(window_);
    timeEndPeriod(1);
}

Scheduler::TimerId WinScheduler::startTimer(int intervalMs, std::function<void()> onTimeout) {
    return queue_.start(std::chrono::milliseconds(intervalMs), std::move(onTimeout), now());
}

void WinScheduler::stopTimer(TimerId id) {
    queue_.stop(id);
}

void WinScheduler::post(std::function<void()> work) {
    const std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(work));
    // One message carries everything posted until it is handled.
    if (posted_.size() == 1) {
        PostMessageW(window_, postedWork, 0, 0);
    }
}

void WinScheduler::runPosted() {
    std::vector<std::function<void()>> work;
    {
        const std::lock_guard lock(postedMutex_);
        work.swap(posted_);
    }
    for (const std::function<void()>& each : work) {
        each();
    }
}

void WinScheduler::fireDueTimers() {
    // Only what is due now: a timer due again during the callbacks waits for the next message,
    // so that input and painting go on however busy the timers are.
    const TimerQueue::Time dueBy = now() + tickMargin;
    while (queue_.fireNext(dueBy)) {
    }
    wakeForTheNext();
}

void WinScheduler::wakeForTheNext() {
    if (window_ == nullptr) {
        return;
    }
    const auto due = queue_.nextDue();
    if (!due) {
        KillTimer(window_, wakeTimer);
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - now());
    // SetTimer replaces the wake-up of the same id.
    SetTimer(window_, wakeTimer, static_cast<UINT>(std::max<long long>(wait.count(), 1)), nullptr);
}

LRESULT CALLBACK WinScheduler::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WinScheduler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_TIMER && wParam == wakeTimer) {
        self->fireDueTimers();
        return 0;
    }
    if (self != nullptr && message == postedWork) {
        self->runPosted();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace pontrel
