// The pace of typed characters: gaps that grow with the line, a new line or text that starts
// over, a paste that shows the field has caught up, and no burst after a late start.

#include "platform/kde/LinePace.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace pontrel {
namespace {

using namespace std::chrono_literals;

// Virtual time in microseconds that moves when the pace waits or the test says so.
class StepClock : public InputClock {
public:
    Time now() const override { return Time(std::chrono::microseconds(us)); }
    void waitUntil(std::unique_lock<std::mutex>&, std::condition_variable&, Time until,
                   const std::function<bool()>&) override {
        us = std::max<std::int64_t>(us, (until - Time()) / 1us);
    }

    std::int64_t us = 0;
};

// The microseconds between the characters of `text` as the pace lets them out.
std::vector<std::int64_t> gaps(StepClock& clock, LinePace& pace, const std::u32string& text) {
    std::vector<std::int64_t> result;
    for (const char32_t character : text) {
        const std::int64_t before = clock.us;
        pace.beforeCharacter(character);
        result.push_back(clock.us - before);
    }
    return result;
}

TEST(LinePaceTest, GapsGrowWithTheLineAndStartOverWithANewOne) {
    StepClock clock;
    LinePace pace(clock);
    EXPECT_EQ(gaps(clock, pace, U"abc\nde"),
              (std::vector<std::int64_t>{0, 100, 102, 104, 106, 100}));
    pace.startLine();
    EXPECT_EQ(gaps(clock, pace, U"fg"), (std::vector<std::int64_t>{102, 100}));
    // A named key waits by the line as well and leaves it as it is.
    pace.beforeKey();
    EXPECT_EQ(gaps(clock, pace, U"x"), (std::vector<std::int64_t>{104}));
    // A paste of 50 characters joins the line and ends the wait owed.
    pace.pasted(50);
    EXPECT_EQ(gaps(clock, pace, U"hi"), (std::vector<std::int64_t>{0, 206}));
}

TEST(LinePaceTest, TimeLostToABusyMachineIsMadeUpOnlyBrieflySoNoBurstFollows) {
    StepClock clock;
    LinePace pace(clock);
    pace.beforeCharacter(U'a');
    clock.us += 50'000;  // the machine was busy
    // At most 2 ms of the lost time are made up, the gaps of fewer than 20 characters.
    const auto late = gaps(clock, pace, std::u32string(30, U'b'));
    const auto unpaced = std::count(late.begin(), late.end(), 0);
    EXPECT_GT(unpaced, 1);
    EXPECT_LT(unpaced, 20);
    EXPECT_GT(late.back(), 100);
}

}  // namespace
}  // namespace pontrel
