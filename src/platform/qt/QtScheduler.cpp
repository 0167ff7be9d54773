#include "platform/qt/QtScheduler.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace pontrel {

namespace {

TimerQueue::Time now() {
    return std::chrono::steady_clock::now().time_since_epoch();
}

}  // namespace

QtScheduler::QtScheduler() : queue_([this] { wakeForTheNext(); }) {
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [this] { fireDueTimers(); });
}

Scheduler::TimerId QtScheduler::startTimer(int intervalMs, std::function<void()> onTimeout) {
    return queue_.start(std::chrono::milliseconds(intervalMs), std::move(onTimeout), now());
}

void QtScheduler::stopTimer(TimerId id) {
    queue_.stop(id);
}

void QtScheduler::post(std::function<void()> work) {
    QMetaObject::invokeMethod(&wake_, std::move(work), Qt::QueuedConnection);
}

void QtScheduler::fireDueTimers() {
    // Only what is due now: a timer due again during the callbacks waits for the next turn of
    // the event loop, so that input and painting go on however busy the timers are.
    const TimerQueue::Time dueBy = now();
    while (queue_.fireNext(dueBy)) {
    }
    wakeForTheNext();
}

void QtScheduler::wakeForTheNext() {
    const auto due = queue_.nextDue();
    if (!due) {
        wake_.stop();
        return;
    }
    // Never early: rounded up to the next whole millisecond.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - now());
    wake_.start(std::max(std::chrono::milliseconds(0), wait));
}

}  // namespace pontrel
