#pragma once

#include <memory>

#include "platform/Status.h"

namespace pontrel {

// Blocks the user's physical keyboards and pointers by grabbing every non-XTest slave device on
// a connection of its own, so synthesized XTest input still reaches other programs. The server
// drops the grabs when the connection closes, so a crash cannot leave the desktop locked.
// Ctrl+Alt+Del on a blocked keyboard releases the block.
class X11InputBlocker {
public:
    X11InputBlocker();
    ~X11InputBlocker();  // releases the block
    X11InputBlocker(const X11InputBlocker&) = delete;
    X11InputBlocker& operator=(const X11InputBlocker&) = delete;

    Status setBlocked(bool blocked);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pontrel
