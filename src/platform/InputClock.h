#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace pontrel {

// The time by which the input queue spaces its work; tests give it a virtual one.
class InputClock {
public:
    using Time = std::chrono::steady_clock::time_point;

    virtual ~InputClock() = default;
    virtual Time now() const = 0;
    // Waits on `wake` with `lock` held until `until`, or less once `stop` returns true.
    virtual void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                           Time until, const std::function<bool()>& stop) = 0;
};

// The steady clock of the machine.
InputClock& steadyInputClock();

}  // namespace pontrel
