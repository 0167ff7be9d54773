#include "platform/wayland/WatchdogCommands.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <ctime>

namespace pontrel {

namespace {

constexpr int attempts = 60;
constexpr timespec pause{0, 500'000'000};

bool succeeds(const std::vector<char*>& argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int nowhere = open("/dev/null", O_WRONLY);
        if (nowhere >= 0) {
            dup2(nowhere, STDOUT_FILENO);
            dup2(nowhere, STDERR_FILENO);
        }
        execv(argv.front(), argv.data());
        _exit(127);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace

WatchdogCommands::WatchdogCommands(std::vector<std::vector<std::string>> commands)
    : words_(std::move(commands)), done_(words_.size(), 0) {
    for (std::vector<std::string>& words : words_) {
        std::vector<char*>& argv = argvs_.emplace_back();
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
    }
}

void WatchdogCommands::runUntilDone() const {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        bool allDone = true;
        for (std::size_t i = 0; i < argvs_.size(); ++i) {
            done_[i] = done_[i] != 0 || succeeds(argvs_[i]);
            allDone = allDone && done_[i] != 0;
        }
        if (allDone) {
            return;
        }
        nanosleep(&pause, nullptr);
    }
}

}  // namespace pontrel
