#pragma once

#include <cstdint>
#include <functional>

namespace pontrel {

// Drives the timers of the form. The program uses precise toolkit timers; tests use a virtual
// clock that fires due timers in time order when it is advanced.
class Scheduler {
public:
    using TimerId = std::uint64_t;

    virtual ~Scheduler() = default;

    // Calls onTimeout every intervalMs milliseconds (> 0) until stopped.
    virtual TimerId startTimer(int intervalMs, std::function<void()> onTimeout) = 0;
    // Stopping inside the timer's own callback is allowed.
    virtual void stopTimer(TimerId id) = 0;
};

}  // namespace pontrel
