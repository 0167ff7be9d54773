#pragma once

#include <cstdint>
#include <functional>

namespace pontrel {

// Drives the timers of the form. Every implementation keeps its timers in a TimerQueue: the
// program wakes it with one precise toolkit timer, tests with a virtual clock that fires due
// timers in time order when it is advanced.
//
// Timers due at the same moment fire in the order they were queued. A periodic timer is queued
// again when its callback returns, so a timer that a callback starts for the callback's next turn
// fires first: a step armed by the advance loop runs before the loop looks at it again. A timer
// started inside a callback counts its interval from the moment that callback was due.
class Scheduler {
public:
    using TimerId = std::uint64_t;

    virtual ~Scheduler() = default;

    // Calls onTimeout every intervalMs milliseconds (> 0) until stopped.
    virtual TimerId startTimer(int intervalMs, std::function<void()> onTimeout) = 0;
    // Stopping inside the timer's own callback is allowed.
    virtual void stopTimer(TimerId id) = 0;
    // Runs work on the timers' thread at its next turn. The one call that any thread may make.
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace pontrel
