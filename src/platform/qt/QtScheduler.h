#pragma once

#include <functional>
#include <map>
#include <memory>

#include "platform/Scheduler.h"

class QTimer;

namespace pontrel {

// Form timers on precise QTimers. Stopping a timer inside its own callback is safe: the QTimer is
// stopped at once and deleted when control is back in the event loop.
class QtScheduler : public Scheduler {
public:
    QtScheduler();
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    TimerId startTimer(int intervalMs, std::function<void()> onTimeout) override;
    void stopTimer(TimerId id) override;

private:
    TimerId nextId_ = 1;
    std::map<TimerId, QTimer*> timers_;
};

}  // namespace pontrel
