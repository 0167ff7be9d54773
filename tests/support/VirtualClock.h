#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/Scheduler.h"
#include "platform/TimerQueue.h"

namespace pontrel::test {

// A scheduler on virtual time: advance() fires due timers in time order, ties as the Scheduler
// contract orders them, instantly and deterministically.
class VirtualClock : public Scheduler {
public:
    TimerId startTimer(int intervalMs, std::function<void()> onTimeout) override;
    void stopTimer(TimerId id) override;

    // Moves time forward by ms, firing every timer that falls due on the way.
    void advance(std::int64_t ms);
    std::int64_t now() const { return now_; }
    // The number of timers running.
    std::size_t activeTimers() const { return queue_.size(); }

private:
    TimerQueue queue_;
    std::int64_t now_ = 0;
};

}  // namespace pontrel::test
