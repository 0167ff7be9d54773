#pragma once

#include <atomic>

// Xlib's own declaration; its header would bring the Status macro along.
typedef struct _XDisplay Display;

namespace pontrel {

// One connection to $DISPLAY whose loss does not end the process: the server going away marks
// it lost, and the next open() closes it and connects anew.
class X11Connection {
public:
    X11Connection() = default;
    ~X11Connection() { close(); }
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    // The open connection, connecting when there is none or the server was lost. Null when no
    // display can be opened.
    Display* open();
    void close();

    // The connection as it is: null before open(), possibly lost.
    Display* display() const { return display_; }
    bool lost() const { return lost_; }
    // Set from Xlib's connection-loss handler, on whichever thread saw the loss.
    const std::atomic<bool>& lostFlag() const { return lost_; }

private:
    Display* display_ = nullptr;
    std::atomic<bool> lost_{false};
};

}  // namespace pontrel
