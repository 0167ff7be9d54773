#include "platform/TimerQueue.h"

#include <algorithm>
#include <utility>

namespace pontrel {

TimerQueue::TimerQueue(std::function<void()> nextDueChanged)
    : nextDueChanged_(std::move(nextDueChanged)) {}

TimerQueue::TimerId TimerQueue::start(std::chrono::milliseconds interval,
                                      std::function<void()> onTimeout, Time now) {
    interval = std::max(interval, std::chrono::milliseconds(1));
    // Counted from now, never from a past due time: a late tick must not shorten the wait.
    const TimerId id = nextId_++;
    timers_.emplace(id, Entry{interval, now + interval, nextOrder_++, std::move(onTimeout)});
    startedByCallback_ = now;
    changed();
    return id;
}

void TimerQueue::stop(TimerId id) {
    if (timers_.erase(id) != 0) {
        changed();
    }
}

std::map<TimerQueue::TimerId, TimerQueue::Entry>::const_iterator TimerQueue::earliest() const {
    return std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
        return a.second.due != b.second.due ? a.second.due < b.second.due
                                            : a.second.order < b.second.order;
    });
}

std::optional<TimerQueue::Time> TimerQueue::nextDue() const {
    const auto next = earliest();
    if (next == timers_.end()) {
        return std::nullopt;
    }
    return next->second.due;
}

bool TimerQueue::fireNext(Time now) {
    const auto next = earliest();
    if (next == timers_.end() || next->second.due > now) {
        return false;
    }
    const TimerId id = next->first;
    Entry& entry = timers_.at(id);
    entry.due += entry.interval;
    if (entry.due <= now) {
        entry.due = now + entry.interval;  // a late timer does not catch up in a burst
    }
    // A copy: the callback may stop its own timer.
    const std::function<void()> onTimeout = entry.onTimeout;
    changed();
    const std::optional<Time> outer = std::exchange(startedByCallback_, std::nullopt);
    onTimeout();
    const std::optional<Time> started = std::exchange(startedByCallback_, outer);
    if (const auto still = timers_.find(id); still != timers_.end()) {
        // Queued again behind the timers its callback started, and keeping pace with them: its
        // turns count from the latest start, so a step armed for one of its turns is due with it.
        Entry& again = still->second;
        again.order = nextOrder_++;
        if (started && *started + again.interval > again.due) {
            again.due = *started + again.interval;
            changed();
        }
    }
    return true;
}

void TimerQueue::changed() const {
    if (nextDueChanged_) {
        nextDueChanged_();
    }
}

}  // namespace pontrel
