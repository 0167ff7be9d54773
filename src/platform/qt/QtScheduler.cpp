#include "platform/qt/QtScheduler.h"

#include <algorithm>

namespace pontrel {

QtScheduler::QtScheduler() {
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [this] { fireDueTimers(); });
}

Scheduler::TimerId QtScheduler::startTimer(int intervalMs, std::function<void()> onTimeout) {
    const std::chrono::milliseconds interval(std::max(1, intervalMs));
    const Clock::time_point now = Clock::now();
    // Counted from the due time of the callback that starts it, while that still lies ahead: a
    // step armed by a tick is due together with the tick's next turn, not a moment after it.
    const Clock::time_point from =
        callbackDue_ && *callbackDue_ + interval > now ? *callbackDue_ : now;
    const TimerId id = nextId_++;
    timers_.emplace(id, Entry{interval, from + interval, nextOrder_++, std::move(onTimeout)});
    wakeForTheNext();
    return id;
}

void QtScheduler::stopTimer(TimerId id) {
    if (timers_.erase(id) != 0) {
        wakeForTheNext();
    }
}

std::map<Scheduler::TimerId, QtScheduler::Entry>::iterator QtScheduler::next() {
    return std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
        return a.second.due != b.second.due ? a.second.due < b.second.due
                                            : a.second.order < b.second.order;
    });
}

void QtScheduler::fireDueTimers() {
    for (auto due = next(); due != timers_.end(); due = next()) {
        const Clock::time_point now = Clock::now();
        Entry& entry = due->second;
        if (entry.due > now) {
            break;
        }
        const TimerId id = due->first;
        const Clock::time_point dueAt = entry.due;
        entry.due += entry.interval;
        if (entry.due <= now) {
            entry.due = now + entry.interval;  // a late timer does not catch up in a burst
        }
        // The callback may stop this timer or run a nested event loop that needs the wake-up.
        const std::function<void()> onTimeout = entry.onTimeout;
        wakeForTheNext();
        const std::optional<Clock::time_point> outer = callbackDue_;
        callbackDue_ = dueAt;
        onTimeout();
        callbackDue_ = outer;
        // Queued again behind the timers its callback started.
        if (const auto still = timers_.find(id); still != timers_.end()) {
            still->second.order = nextOrder_++;
        }
    }
    wakeForTheNext();
}

void QtScheduler::wakeForTheNext() {
    const auto due = next();
    if (due == timers_.end()) {
        wake_.stop();
        return;
    }
    // Never early: rounded up to the next whole millisecond.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due->second.due - Clock::now());
    wake_.start(std::max(std::chrono::milliseconds(0), wait));
}

}  // namespace pontrel
