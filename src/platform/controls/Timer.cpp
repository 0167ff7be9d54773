#include "platform/controls/Timer.h"

#include <algorithm>
#include <utility>

#include "platform/controls/HeldFlag.h"

namespace pontrel {

Timer::Timer(std::string name, Scheduler& scheduler, int intervalMs, bool enabled)
    : name_(std::move(name)),
      scheduler_(scheduler),
      interval_(std::max(0, intervalMs)),
      enabled_(enabled) {
    arm();
}

Timer::~Timer() {
    disarm();
}

void Timer::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    sleeping_ = false;
    if (enabled_) {
        arm();
    } else {
        disarm();
    }
}

void Timer::setInterval(int intervalMs) {
    const int interval = std::max(0, intervalMs);
    if (interval_ == interval) {
        return;
    }
    interval_ = interval;
    disarm();
    arm();
}

void Timer::sleep() {
    if (enabled_) {
        sleeping_ = true;
        disarm();
    }
}

void Timer::wake() {
    if (!sleeping_) {
        return;
    }
    sleeping_ = false;
    arm();
    if (armed_) {
        fire();
    }
}

void Timer::arm() {
    if (enabled_ && !sleeping_ && interval_ > 0 && !armed_) {
        armed_ = scheduler_.startTimer(interval_, [this] { fire(); });
    }
}

void Timer::disarm() {
    if (armed_) {
        scheduler_.stopTimer(*armed_);
        armed_.reset();
    }
}

void Timer::fire() {
    if (inTick_ || !enabled_) {
        return;
    }
    const HeldFlag ticking(inTick_);
    Tick();
}

}  // namespace pontrel
