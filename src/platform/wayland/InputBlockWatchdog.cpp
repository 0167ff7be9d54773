#include "platform/wayland/InputBlockWatchdog.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace pontrel {

namespace {

// The watchdog's life: wait until the pipe says something or closes; on a close without a
// word, release.
[[noreturn]] void watch(int pipe, const InputBlockWatchdog::Release& release) {
    char word = 0;
    ssize_t got = 0;
    do {
        got = read(pipe, &word, 1);
    } while (got < 0 && errno == EINTR);
    if (got == 0) {
        release();
    }
    _exit(0);
}

}  // namespace

InputBlockWatchdog::~InputBlockWatchdog() {
    stop();
}

bool InputBlockWatchdog::start(Release release) {
    if (running()) {
        return true;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // Alone: no terminal's signals, and none of our connections kept open, so that servers
        // still see this program end.
        setsid();
        signal(SIGINT, SIG_IGN);
        signal(SIGHUP, SIG_IGN);
        if (dup2(fds[0], STDIN_FILENO) < 0) {
            _exit(1);
        }
        close_range(STDERR_FILENO + 1, ~0U, 0);
        watch(STDIN_FILENO, release);
    }
    close(fds[0]);
    if (pid < 0) {
        close(fds[1]);
        return false;
    }
    pid_ = pid;
    pipe_ = fds[1];
    return true;
}

void InputBlockWatchdog::stop() {
    if (!running()) {
        return;
    }
    const char done = 'x';
    (void)write(pipe_, &done, 1);
    close(pipe_);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    pipe_ = -1;
}

}  // namespace pontrel
