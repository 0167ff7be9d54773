#pragma once

#include <string>

#include "platform/Status.h"
#include "platform/wayland/InputBlockWatchdog.h"

namespace pontrel {

// Blocks the user's keyboards, mice and touchpads through sway's input configuration; virtual
// devices, ours among them, keep working. Should this program end during a block, its watchdog
// enables the devices again.
class SwayInputBlocker {
public:
    // The sway of $SWAYSOCK.
    SwayInputBlocker();
    explicit SwayInputBlocker(std::string socketPath);
    // Releases a block.
    ~SwayInputBlocker();
    SwayInputBlocker(const SwayInputBlocker&) = delete;
    SwayInputBlocker& operator=(const SwayInputBlocker&) = delete;

    Status setBlocked(bool blocked);

private:
    bool startWatchdog();

    std::string socketPath_;
    InputBlockWatchdog watchdog_;
};

}  // namespace pontrel
