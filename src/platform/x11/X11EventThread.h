#pragma once

#include <atomic>
#include <functional>
#include <thread>

// Xlib's own declaration; its header would bring the Status macro along.
typedef union _XEvent XEvent;

namespace pontrel {

class X11Connection;

// What an event thread does on its thread, each part optional.
struct X11EventHandlers {
    std::function<void(XEvent&)> event;  // every event of the connection
    std::function<void()> woken;         // after wake()
    std::function<void()> ended;         // once, after the loop ended by stop() or a lost server
};

// A thread that waits on one X connection and a wake pipe: it hands every event to its handler
// and leaves the loop when told or when the server closes the connection, so a lost server
// ends the thread, not the process. Every X call on the connection is meant to happen there.
class X11EventThread {
public:
    X11EventThread() = default;
    ~X11EventThread() { stop(); }
    X11EventThread(const X11EventThread&) = delete;
    X11EventThread& operator=(const X11EventThread&) = delete;

    // Waits on the open connection, which must outlive the thread. False when no wake pipe
    // could be made; then no thread runs.
    bool start(const X11Connection& connection, X11EventHandlers handlers);
    // Runs handlers.woken on the thread soon; false when the thread is unreachable.
    bool wake();
    // Ends the loop and waits for the thread; nothing when none runs.
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void run(const X11Connection& connection, const X11EventHandlers& handlers);

    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace pontrel
