#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include <QTimer>

#include "platform/Scheduler.h"

namespace pontrel {

// Form timers on one precise QTimer that wakes for the earliest due time, so that timers due
// together fire in the order the Scheduler contract gives, which Qt's own timers do not promise.
// A callback may stop or start timers, itself included, and may run a nested event loop (a
// message box) during which the other timers go on.
class QtScheduler : public Scheduler {
public:
    QtScheduler();
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    TimerId startTimer(int intervalMs, std::function<void()> onTimeout) override;
    void stopTimer(TimerId id) override;

private:
    using Clock = std::chrono::steady_clock;

    struct Entry {
        std::chrono::milliseconds interval;
        Clock::time_point due;
        std::uint64_t order;
        std::function<void()> onTimeout;
    };

    void fireDueTimers();
    void wakeForTheNext();
    std::map<TimerId, Entry>::iterator next();

    std::map<TimerId, Entry> timers_;
    TimerId nextId_ = 1;
    std::uint64_t nextOrder_ = 0;
    // The due time of the callback running now, if any: timers it starts count from there.
    std::optional<Clock::time_point> callbackDue_;
    QTimer wake_;
};

}  // namespace pontrel
