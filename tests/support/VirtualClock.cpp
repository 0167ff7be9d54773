#include "support/VirtualClock.h"

#include <chrono>
#include <utility>

namespace pontrel::test {

namespace {

using std::chrono::milliseconds;

std::int64_t toMs(TimerQueue::Time time) {
    return std::chrono::duration_cast<milliseconds>(time).count();
}

}  // namespace

Scheduler::TimerId VirtualClock::startTimer(int intervalMs, std::function<void()> onTimeout) {
    return queue_.start(milliseconds(intervalMs), std::move(onTimeout), milliseconds(now_));
}

void VirtualClock::stopTimer(TimerId id) {
    queue_.stop(id);
}

void VirtualClock::post(std::function<void()> work) {
    posted_.push_back(std::move(work));
}

void VirtualClock::runPosted() {
    // What this work posts in turn waits for the next advance.
    for (const std::function<void()>& work : std::exchange(posted_, {})) {
        work();
    }
}

void VirtualClock::advance(std::int64_t ms) {
    runPosted();
    const std::int64_t end = now_ + ms;
    for (auto due = queue_.nextDue(); due && toMs(*due) <= end; due = queue_.nextDue()) {
        now_ = toMs(*due);
        queue_.fireNext(*due);
    }
    now_ = end;
}

}  // namespace pontrel::test
