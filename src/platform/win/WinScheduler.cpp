#include "platform/win/WinScheduler.h"

namespace pontrel {

namespace {

constexpr wchar_t className[] = L"PontrelTimerWindow";

void registerClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

}  // namespace

WinScheduler::WinScheduler() {
    registerClass(&WinScheduler::windowProc);
    window_ = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinScheduler::~WinScheduler() {
    for (const auto& [id, callback] : timers_) {
        KillTimer(window_, static_cast<UINT_PTR>(id));
    }
    DestroyWindow(window_);
}

Scheduler::TimerId WinScheduler::startTimer(int intervalMs, std::function<void()> onTimeout) {
    const TimerId id = nextId_++;
    timers_.emplace(id, std::make_shared<std::function<void()>>(std::move(onTimeout)));
    SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(intervalMs), nullptr);
    return id;
}

void WinScheduler::stopTimer(TimerId id) {
    if (timers_.erase(id) > 0) {
        KillTimer(window_, static_cast<UINT_PTR>(id));
    }
}

void WinScheduler::fire(TimerId id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) {
        return;  // a WM_TIMER already queued when the timer was stopped
    }
    const std::shared_ptr<std::function<void()>> callback = found->second;
    (*callback)();
}

LRESULT CALLBACK WinScheduler::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto* self = reinterpret_cast<WinScheduler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr) {
            self->fire(static_cast<TimerId>(wParam));
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace pontrel
