#pragma once

#include <sys/types.h>
#include <string>

#include "platform/Status.h"

namespace pontrel {

// Blocks the user's keyboards, mice and touchpads through sway's input configuration; virtual
// devices, ours among them, keep working. sway does not undo this when we end, so while the
// block lasts a watchdog process waits on a pipe from us: when the pipe closes without a word,
// because this program ended in any way (SIGKILL included), it enables the devices again.
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
    void stopWatchdog();

    std::string socketPath_;
    pid_t watchdog_ = -1;
    int watchdogPipe_ = -1;  // our end
};

}  // namespace pontrel
