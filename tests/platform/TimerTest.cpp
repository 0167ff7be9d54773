#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/controls/Timer.h"
#include "support/VirtualClock.h"

namespace pontrel {
namespace {

using test::VirtualClock;

struct TimerTest : ::testing::Test {
    VirtualClock clock;
    std::vector<std::int64_t> ticks;

    void record(Timer& timer) {
        timer.Tick.connect([this] { ticks.push_back(clock.now()); });
    }
};

TEST_F(TimerTest, CountdownStartsWhenEnabledAndRepeats) {
    Timer timer("t", clock, 10, false);
    record(timer);
    clock.advance(25);
    timer.setEnabled(true);
    clock.advance(25);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{35, 45}));
}

TEST_F(TimerTest, EnablingAnEnabledTimerDoesNotRestartIt) {
    Timer timer("t", clock, 100, true);
    record(timer);
    clock.advance(60);
    timer.setEnabled(true);
    clock.advance(40);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{100}));
}

TEST_F(TimerTest, ANewIntervalRestartsTheCountdown) {
    Timer timer("t", clock, 100, true);
    record(timer);
    clock.advance(60);
    timer.setInterval(50);
    clock.advance(60);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{110}));
}

TEST_F(TimerTest, ASleepingTimerStaysEnabledAndTicksOnlyWhenWoken) {
    Timer timer("t", clock, 10, true);
    record(timer);
    clock.advance(10);
    timer.sleep();
    clock.advance(1000);
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(clock.activeTimers(), 0U);
    timer.wake();  // at once, then polling again
    clock.advance(20);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{10, 1010, 1020, 1030}));

    ticks.clear();
    timer.sleep();
    timer.setEnabled(false);  // disabling ends the sleep: enabled again, it polls
    timer.wake();
    timer.setEnabled(true);
    clock.advance(10);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{1040}));
}

TEST_F(TimerTest, IntervalZeroNeverFiresAndLongIntervalsAreKept) {
    Timer idle("idle", clock, 0, true);
    record(idle);
    clock.advance(1000);
    EXPECT_TRUE(ticks.empty());

    Timer slow("slow", clock, 120000, true);
    record(slow);
    clock.advance(119999);
    EXPECT_TRUE(ticks.empty());
    clock.advance(1);
    EXPECT_EQ(ticks.size(), 1U);
}

TEST_F(TimerTest, ATickInANestedLoopIsNotReenteredButOtherTimersRun) {
    Timer outer("outer", clock, 10, true);
    Timer other("other", clock, 10, true);
    int outerTicks = 0;
    int otherTicks = 0;
    outer.Tick.connect([&] {
        ++outerTicks;
        clock.advance(100);  // a message box open for 100 ms
    });
    other.Tick.connect([&] { ++otherTicks; });

    clock.advance(10);
    EXPECT_EQ(outerTicks, 1);
    EXPECT_GE(otherTicks, 10);
}

TEST_F(TimerTest, ATickThatThrowsDoesNotSilenceItsTimer) {
    Timer timer("t", clock, 10, true);
    int count = 0;
    timer.Tick.connect([&] {
        if (++count == 1) {
            throw std::runtime_error("tick failed");
        }
    });
    EXPECT_THROW(clock.advance(10), std::runtime_error);
    clock.advance(10);
    EXPECT_EQ(count, 2);
}

TEST_F(TimerTest, DisablingInsideItsOwnTickStopsIt) {
    Timer timer("t", clock, 10, true);
    int count = 0;
    timer.Tick.connect([&] {
        ++count;
        timer.setEnabled(false);
    });
    clock.advance(100);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(clock.activeTimers(), 0U);
}

}  // namespace
}  // namespace pontrel
