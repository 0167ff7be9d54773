#include "e2e/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <stdexcept>
#include <thread>

namespace pontrel::e2e {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> argumentPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& argument : argv) {
        pointers.push_back(const_cast<char*>(argument.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

int exitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string joined(const std::vector<std::string>& argv) {
    std::string text;
    for (const std::string& argument : argv) {
        text += (text.empty() ? "" : " ") + argument;
    }
    return text;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& folder,
                           const std::string& logFile) {
    std::vector<char*> arguments = argumentPointers(argv);
    pid_ = fork();
    if (pid_ == 0) {
        const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (log < 0 || chdir(folder.c_str()) != 0) {
            _exit(126);
        }
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        const int nothing = open("/dev/null", O_RDONLY);
        dup2(nothing, STDIN_FILENO);
        setpgid(0, 0);
        execvp(arguments[0], arguments.data());
        _exit(127);
    }
    if (pid_ < 0) {
        throw std::runtime_error("cannot start " + argv.front());
    }
}

ChildProcess::~ChildProcess() {
    terminate();
}

std::optional<int> ChildProcess::waitExit(int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!status_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = exitCode(status);
        } else if (Clock::now() >= end) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return status_;
}

bool ChildProcess::running() {
    return !waitExit(0);
}

void ChildProcess::terminate() {
    if (!running()) {
        return;
    }
    kill(pid_, SIGTERM);
    if (!waitExit(3000)) {
        kill(pid_, SIGKILL);
        waitExit(3000);
    }
}

std::string runTool(const std::vector<std::string>& argv, int timeoutMs) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    std::vector<char*> arguments = argumentPointers(argv);
    const pid_t pid = fork();
    if (pid == 0) {
        // Its complaints (xclip's while nobody owns the clipboard) would only clutter the log.
        const int nothing = open("/dev/null", O_WRONLY);
        dup2(out[1], STDOUT_FILENO);
        dup2(nothing, STDERR_FILENO);
        execvp(arguments[0], arguments.data());
        _exit(127);
    }
    close(out[1]);
    std::string output;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        pollfd readable{out[0], POLLIN, 0};
        if (left <= 0 || poll(&readable, 1, static_cast<int>(left)) <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (exitCode(status) != 0) {
        throw std::runtime_error("'" + joined(argv) + "' ended with " +
                                 std::to_string(exitCode(status)));
    }
    return output;
}

}  // namespace pontrel::e2e
