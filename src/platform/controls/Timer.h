#pragma once

#include <optional>
#include <string>

#include "platform/Scheduler.h"
#include "platform/controls/Event.h"

namespace pontrel {

// A form timer. The countdown starts when the timer goes from disabled to enabled; enabling an
// enabled timer does not restart it; a new interval restarts an enabled timer; interval 0 never
// fires. A Tick that opens a nested event loop is never re-entered by its own timer.
class Timer {
public:
    Timer(std::string name, Scheduler& scheduler, int intervalMs, bool enabled);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }
    void setInterval(int intervalMs);

    // A poll that has seen all there is to see until something outside changes sleeps: it stays
    // enabled but does not tick (nor wake the program) until wake(), which ticks at once.
    // Disabling it ends the sleep.
    void sleep();
    void wake();

    Event<> Tick;

private:
    void arm();
    void disarm();
    void fire();

    std::string name_;
    Scheduler& scheduler_;
    int interval_;
    bool enabled_;
    bool inTick_ = false;
    bool sleeping_ = false;
    std::optional<Scheduler::TimerId> armed_;
};

}  // namespace pontrel
