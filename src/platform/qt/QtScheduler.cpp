#include "platform/qt/QtScheduler.h"

#include <QTimer>

namespace pontrel {

QtScheduler::QtScheduler() = default;

QtScheduler::~QtScheduler() {
    for (auto& [id, timer] : timers_) {
        delete timer;
    }
}

Scheduler::TimerId QtScheduler::startTimer(int intervalMs, std::function<void()> onTimeout) {
    auto* timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(intervalMs);
    // The functor belongs to the connection, so it outlives a stop from inside itself.
    QObject::connect(timer, &QTimer::timeout, timer, std::move(onTimeout));
    timer->start();
    const TimerId id = nextId_++;
    timers_.emplace(id, timer);
    return id;
}

void QtScheduler::stopTimer(TimerId id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) {
        return;
    }
    QTimer* timer = found->second;
    timers_.erase(found);
    timer->stop();
    timer->deleteLater();
}

}  // namespace pontrel
