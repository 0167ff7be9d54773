#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "platform/Scheduler.h"

namespace pontrel {

// The bookkeeping behind every Scheduler: due times, the order of timers due together, and
// callbacks that stop or start timers. The caller tells the time and wakes it for nextDue().
class TimerQueue {
public:
    using Time = std::chrono::nanoseconds;  // on any clock the caller keeps
    using TimerId = Scheduler::TimerId;

    // Called when the earliest due time may have changed, also right before a callback runs
    // (which may run a nested event loop that needs the next wake-up).
    explicit TimerQueue(std::function<void()> nextDueChanged = {});

    TimerId start(std::chrono::milliseconds interval, std::function<void()> onTimeout, Time now);
    void stop(TimerId id);
    std::optional<Time> nextDue() const;
    std::size_t size() const { return timers_.size(); }
    // Runs the earliest timer if it is due at now; false if none is.
    bool fireNext(Time now);

private:
    struct Entry {
        std::chrono::milliseconds interval;
        Time due;
        std::uint64_t order;
        std::function<void()> onTimeout;
    };

    std::map<TimerId, Entry>::const_iterator earliest() const;
    void changed() const;

    std::function<void()> nextDueChanged_;
    std::map<TimerId, Entry> timers_;
    TimerId nextId_ = 1;
    std::uint64_t nextOrder_ = 0;
    // While a callback runs: when it last started a timer.
    std::optional<Time> startedByCallback_;
};

}  // namespace pontrel
