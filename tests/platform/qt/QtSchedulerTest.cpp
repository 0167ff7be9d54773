#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <string>
#include <thread>

#include "platform/qt/QtScheduler.h"
#include "platform/qt/QtTestApp.h"

namespace pontrel {
namespace {

using test::processEventsUntil;
using test::qtTestApp;

class QtSchedulerTest : public ::testing::Test {
protected:
    QApplication& app = qtTestApp();
    QtScheduler scheduler;
};

TEST_F(QtSchedulerTest, TenMillisecondTimerFiresRepeatedlyAtItsPace) {
    int fired = 0;
    QElapsedTimer clock;
    clock.start();
    const auto id = scheduler.startTimer(10, [&] { ++fired; });
    ASSERT_TRUE(processEventsUntil([&] { return fired >= 10; }));
    const qint64 elapsed = clock.elapsed();
    scheduler.stopTimer(id);
    EXPECT_GE(elapsed, 90);  // ten periods, give or take the first one
    EXPECT_LT(elapsed, 1000);
}

TEST_F(QtSchedulerTest, StoppingInsideItsOwnCallbackEndsTheTimerAndKeepsOthersRunning) {
    int selfStopping = 0;
    int other = 0;
    Scheduler::TimerId id = 0;
    id = scheduler.startTimer(10, [&] {
        ++selfStopping;
        scheduler.stopTimer(id);
    });
    const auto otherId = scheduler.startTimer(10, [&] { ++other; });
    ASSERT_TRUE(processEventsUntil([&] { return other >= 8; }));
    scheduler.stopTimer(otherId);
    EXPECT_EQ(selfStopping, 1);

    const int otherBefore = other;
    processEventsUntil([] { return false; }, 60);
    EXPECT_EQ(other, otherBefore) << "a stopped timer fired";
    scheduler.stopTimer(otherId);  // stopping twice is harmless
}

TEST_F(QtSchedulerTest, RestartingFromInsideTheCallbackGivesAFreshTimer) {
    int first = 0;
    int second = 0;
    Scheduler::TimerId id = 0;
    id = scheduler.startTimer(10, [&] {
        ++first;
        scheduler.stopTimer(id);
        id = scheduler.startTimer(10, [&] { ++second; });
    });
    ASSERT_TRUE(processEventsUntil([&] { return second >= 3; }));
    scheduler.stopTimer(id);
    EXPECT_EQ(first, 1);
}

TEST_F(QtSchedulerTest, ATimerStartedByACallbackForItsNextTurnFiresFirst) {
    std::string order;
    Scheduler::TimerId step = 0;
    const auto loop = scheduler.startTimer(10, [&] {
        order += 'L';
        if (order.size() == 1) {
            step = scheduler.startTimer(10, [&] {
                order += 'S';
                scheduler.stopTimer(step);
            });
        }
    });
    ASSERT_TRUE(processEventsUntil([&] { return order.size() >= 3; }));
    scheduler.stopTimer(loop);
    EXPECT_EQ(order.substr(0, 3), "LSL");
}

TEST_F(QtSchedulerTest, OtherTimersGoOnDuringANestedEventLoop) {
    int ticks = 0;
    int ticksDuringTheLoop = -1;
    const auto counter = scheduler.startTimer(10, [&] { ++ticks; });
    Scheduler::TimerId modal = 0;
    modal = scheduler.startTimer(10, [&] {
        scheduler.stopTimer(modal);
        const int before = ticks;
        QEventLoop loop;
        QTimer::singleShot(150, &loop, &QEventLoop::quit);
        loop.exec();
        ticksDuringTheLoop = ticks - before;
    });
    ASSERT_TRUE(processEventsUntil([&] { return ticksDuringTheLoop >= 0; }));
    scheduler.stopTimer(counter);
    EXPECT_GE(ticksDuringTheLoop, 5);
}

TEST_F(QtSchedulerTest, ATimerBusierThanItsIntervalLeavesRoomForOtherEvents) {
    int ticks = 0;
    int ticksWhenHandled = -1;
    Scheduler::TimerId busy = 0;
    busy = scheduler.startTimer(1, [&] {
        ++ticks;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (ticks == 3) {
            QMetaObject::invokeMethod(
                &app, [&] { ticksWhenHandled = ticks; }, Qt::QueuedConnection);
        }
        if (ticks == 100) {
            scheduler.stopTimer(busy);  // the bound, should the event loop never get a turn
        }
    });
    ASSERT_TRUE(processEventsUntil([&] { return ticksWhenHandled >= 0; }, 2000));
    scheduler.stopTimer(busy);
    EXPECT_LE(ticksWhenHandled, 10);
}

}  // namespace
}  // namespace pontrel
