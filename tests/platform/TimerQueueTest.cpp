#include "platform/TimerQueue.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pontrel {
namespace {

using std::chrono::milliseconds;

TimerQueue::Time at(int ms) {
    return milliseconds(ms);
}

// Fires everything due up to and including `until`, each at its due time.
void runUntil(TimerQueue& queue, int until) {
    for (auto due = queue.nextDue(); due && *due <= at(until); due = queue.nextDue()) {
        queue.fireNext(*due);
    }
}

TEST(TimerQueueTest, TimersDueTogetherFireInQueueOrderAndAStartedStepBeforeItsStarter) {
    TimerQueue queue;
    std::string order;
    TimerQueue::TimerId step = 0;
    queue.start(
        milliseconds(10), [&] { order += 'a'; }, at(0));
    queue.start(
        milliseconds(10),
        [&] {
            order += 'L';
            if (step == 0) {
                step = queue.start(
                    milliseconds(10),
                    [&] {
                        order += 'S';
                        queue.stop(step);
                    },
                    at(11));  // the loop runs a millisecond late
            }
        },
        at(0));
    runUntil(queue, 30);
    // The step counts from its start at 11; the loop keeps pace with it, so both are due at 21,
    // and the step comes first.
    EXPECT_EQ(order, "aLaSLa");
    EXPECT_EQ(queue.size(), 2U);
}

struct Lateness {
    const char* name;
    std::function<int(int)> lateAtWake;  // ms behind the earliest due time, by wake-up number
    int stepWork;                        // ms a step takes
    int extraAtMost;                     // ms a wait may exceed W by
};

// The waits between the end of one step and the start of the next, with the advance loop (every
// 10 ms) arming a step of wait W whenever none is armed, as playback does. Each wake-up fires
// what is due by then, in one batch.
std::vector<int> waitsBetweenSteps(int wait, const Lateness& lateness, int steps) {
    TimerQueue queue;
    TimerQueue::Time clock = at(0);
    std::optional<TimerQueue::TimerId> step;
    std::vector<TimerQueue::Time> starts;
    std::vector<TimerQueue::Time> ends;
    const std::function<void()> runStep = [&] {
        starts.push_back(clock);
        clock += milliseconds(lateness.stepWork);
        ends.push_back(clock);
        queue.stop(*step);
        step.reset();
    };
    queue.start(
        milliseconds(10),
        [&] {
            if (!step) {
                step = queue.start(milliseconds(wait), runStep, clock);
            }
        },
        clock);
    for (int wake = 0; static_cast<int>(ends.size()) < steps; ++wake) {
        clock = std::max(clock, *queue.nextDue() + milliseconds(lateness.lateAtWake(wake)));
        const TimerQueue::Time dueBy = clock;
        while (queue.fireNext(dueBy)) {
        }
    }
    std::vector<int> waits;
    for (std::size_t i = 1; i < starts.size(); ++i) {
        waits.push_back(static_cast<int>(
            std::chrono::duration_cast<milliseconds>(starts[i] - ends[i - 1]).count()));
    }
    return waits;
}

TEST(TimerQueueTest, AStepArmedByTheLoopWaitsAtLeastItsIntervalHoweverLateTheWakeUps) {
    constexpr int wait = 100;
    const std::vector<Lateness> cases{
        {"on time: no extra loop turn", [](int) { return 0; }, 0, 0},
        {"now and then 10 ms late", [](int wake) { return wake % 7 == 3 ? 10 : 0; }, 0, 11},
        {"always 3 ms late", [](int) { return 3; }, 0, 11},
        {"a step working 30 ms", [](int) { return 0; }, 30, 11},
    };
    for (const Lateness& c : cases) {
        for (const int waited : waitsBetweenSteps(wait, c, 20)) {
            EXPECT_GE(waited, wait) << c.name;
            EXPECT_LE(waited, wait + c.extraAtMost) << c.name;
        }
    }
}

TEST(TimerQueueTest, ALateTimerFiresOnceAndKeepsItsPaceFromThen) {
    TimerQueue queue;
    int fired = 0;
    TimerQueue::TimerId started = 0;
    queue.start(
        milliseconds(10),
        [&] {
            ++fired;
            if (started == 0) {
                // Started from a callback running 50 ms behind: counted from now, not the past.
                started = queue.start(
                    milliseconds(10), [] {}, at(60));
            }
        },
        at(0));
    EXPECT_FALSE(queue.fireNext(at(9)));
    EXPECT_TRUE(queue.fireNext(at(60)));
    EXPECT_EQ(queue.nextDue(), at(70));
    EXPECT_FALSE(queue.fireNext(at(69)));
    EXPECT_EQ(fired, 1);
}

TEST(TimerQueueTest, ACallbackMayStopItselfAndTheWakeUpIsRenewedBeforeItRuns) {
    int changes = 0;
    TimerQueue queue([&] { ++changes; });
    TimerQueue::TimerId id = 0;
    int changesSeenInside = -1;
    id = queue.start(
        milliseconds(10),
        [&] {
            changesSeenInside = changes;
            queue.stop(id);
        },
        at(0));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(queue.fireNext(at(10)));
    EXPECT_EQ(changesSeenInside, 2);
    EXPECT_EQ(queue.size(), 0U);
    EXPECT_FALSE(queue.nextDue().has_value());
    queue.stop(id);  // stopping twice is harmless
}

}  // namespace
}  // namespace pontrel
