#include "platform/InputClock.h"

namespace pontrel {

namespace {

class SteadyInputClock final : public InputClock {
public:
    Time now() const override { return std::chrono::steady_clock::now(); }
    void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, Time until,
                   const std::function<bool()>& stop) override {
        wake.wait_until(lock, until, stop);
    }
};

}  // namespace

InputClock& steadyInputClock() {
    static SteadyInputClock clock;
    return clock;
}

}  // namespace pontrel
