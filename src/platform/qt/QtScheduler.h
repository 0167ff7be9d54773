#pragma once

#include <functional>

#include <QTimer>

#include "platform/Scheduler.h"
#include "platform/TimerQueue.h"

namespace pontrel {

// Form timers on one precise QTimer that wakes for the earliest due time, so that timers due
// together fire in the order the Scheduler contract gives, which Qt's own timers do not promise.
// They go on in the nested event loops of message boxes and file dialogs.
class QtScheduler : public Scheduler {
public:
    QtScheduler();
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    TimerId startTimer(int intervalMs, std::function<void()> onTimeout) override;
    void stopTimer(TimerId id) override;
    void post(std::function<void()> work) override;

private:
    void fireDueTimers();
    void wakeForTheNext();

    QTimer wake_;
    TimerQueue queue_;
};

}  // namespace pontrel
