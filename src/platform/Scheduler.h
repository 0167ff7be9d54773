#pragma once

#include <cstdint>
#include <functional>

namespace pontrel {

// Drives the timers of the form. Every implementation keeps its timers in a TimerQueue: the
// program wakes it with one precise toolkit timer, tests with a virtual clock that fires due
// timers in time order when it is advanced.
//
// A timer counts its interval from the moment it is started. Timers due at the same moment fire
// in the order they were queued. A periodic timer is queued again when its callback returns, and
// when that callback started timers its turns count from the latest start; so a timer that a
// callback starts for one of the callback's later turns is due with that turn and fires first: a
// step armed by the advance loop runs a full wait later, and the loop finds it done at once.
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
