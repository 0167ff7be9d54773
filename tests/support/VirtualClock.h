#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Scheduler.h"
#include "platform/TimerQueue.h"

namespace pontrel::test {

// A scheduler on virtual time: advance() fires due timers in time order, ties as the Scheduler
// contract orders them, instantly and deterministically.
class VirtualClock : public Scheduler {
public:
    TimerId startTimer(int intervalMs, std::function<void()> onTimeout) override;
    void stopTimer(TimerId id) override;
    // Posted work runs when the clock is next advanced, before the timers due on the way.
    void post(std::function<void()> work) override;

    // Moves time forward by ms, firing every timer that falls due on the way.
    void advance(std::int64_t ms);
    std::int64_t now() const { return now_; }
    // The number of timers running.
    std::size_t activeTimers() const { return queue_.size(); }

private:
    void runPosted();

    TimerQueue queue_;
    std::vector<std::function<void()>> posted_;
    std::int64_t now_ = 0;
};

}  // namespace pontrel::test
