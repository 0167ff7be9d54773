#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>

#include "e2e/support/Desktop.h"

namespace pontrel::e2e {

using TimePoint = std::chrono::steady_clock::time_point;

// A plain Xlib program window: records the characters typed into it (as the keymap of the
// moment reads them, Return as "\n"), button presses and pointer motion, each with the time it
// arrived. A thread of its own reads the events on a connection of its own.
class XlibReceiver {
public:
    struct Key {
        std::string text;  // UTF-8, empty for keys without a character (modifiers)
        TimePoint at;
    };
    struct Press {
        int button = 0;
        Point at;  // root coordinates
        TimePoint time;
    };
    struct Motion {
        Point at;
        TimePoint time;
        ::Time serverTime = 0;  // the X server's timestamp, in milliseconds
    };

    // A managed top-level window asked for at `wanted`; where it really is tells window().
    XlibReceiver(const Rect& wanted, unsigned long colour);
    ~XlibReceiver();
    XlibReceiver(const XlibReceiver&) = delete;
    XlibReceiver& operator=(const XlibReceiver&) = delete;

    Window window() const { return window_; }

    std::string text() const;
    std::vector<Key> keys() const;
    std::vector<Press> presses() const;
    std::vector<Motion> motions() const;
    void clear();

private:
    void readEvents();

    Display* display_ = nullptr;
    Window window_ = 0;
    mutable std::mutex mutex_;
    std::vector<Key> keys_;
    std::vector<Press> presses_;
    std::vector<Motion> motions_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

}  // namespace pontrel::e2e
