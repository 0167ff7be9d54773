#include "support/VirtualClock.h"

#include <utility>

namespace pontrel::test {

Scheduler::TimerId VirtualClock::startTimer(int intervalMs, std::function<void()> onTimeout) {
    const TimerId id = nextId_++;
    timers_[id] = Entry{intervalMs, now_ + intervalMs, nextOrder_++, std::move(onTimeout)};
    return id;
}

void VirtualClock::stopTimer(TimerId id) {
    timers_.erase(id);
}

void VirtualClock::advance(std::int64_t ms) {
    const std::int64_t end = now_ + ms;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= end &&
                (next == timers_.end() || it->second.due < next->second.due ||
                 (it->second.due == next->second.due && it->second.order < next->second.order))) {
                next = it;
            }
        }
        if (next == timers_.end()) {
            break;
        }
        const TimerId id = next->first;
        now_ = next->second.due;
        next->second.due += next->second.interval;
        // The callback may stop or start timers, this one included: call a copy.
        const std::function<void()> onTimeout = next->second.onTimeout;
        onTimeout();
        // Queued again behind the timers its callback started.
        if (const auto still = timers_.find(id); still != timers_.end()) {
            still->second.order = nextOrder_++;
        }
    }
    now_ = end;
}

}  // namespace pontrel::test
