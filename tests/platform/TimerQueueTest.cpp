#include "platform/TimerQueue.h"

#include <gtest/gtest.h>

#include <string>

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
    // The step counts from the loop's due time, so both are due at 20, and the step comes first.
    EXPECT_EQ(order, "aLaSLaL");
    EXPECT_EQ(queue.size(), 2U);
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
