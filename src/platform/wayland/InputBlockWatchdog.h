#pragma once

#include <sys/types.h>
#include <functional>

namespace pontrel {

// The desktops do not undo an input block when the program that set it ends. While a block
// lasts, a process of its own waits on a pipe from us: when the pipe closes without a word,
// because this program ended in any way (SIGKILL included), it runs the release it was given.
class InputBlockWatchdog {
public:
    // Runs in the watchdog, forked from a program with threads: it may only make system calls,
    // on data made before the fork.
    using Release = std::function<void()>;

    InputBlockWatchdog() = default;
    // Stops the watchdog without a release.
    ~InputBlockWatchdog();
    InputBlockWatchdog(const InputBlockWatchdog&) = delete;
    InputBlockWatchdog& operator=(const InputBlockWatchdog&) = delete;

    // False when no process could be started.
    bool start(Release release);
    // The block has ended here: the watchdog ends without releasing.
    void stop();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int pipe_ = -1;  // our end
};

}  // namespace pontrel
