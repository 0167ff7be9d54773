#include "platform/linux/ProgramLauncher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/linux/ShellWords.h"

namespace pontrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// The file a program name stands for: a name with "/" is a path (relative ones from the current
// directory), any other name is looked up on PATH as a shell does. Names too long for the system
// name nothing and are not looked up.
std::optional<std::string> findExecutable(std::string_view name) {
    if (name.empty() || name.size() >= PATH_MAX) {
        return std::nullopt;
    }
    if (name.find('/') != std::string_view::npos) {
        std::string path(name);
        if (isExecutableFile(path)) {
            return path;
        }
        return std::nullopt;
    }
    if (name.size() > NAME_MAX) {
        return std::nullopt;
    }
    const char* pathVariable = std::getenv("PATH");
    const std::string_view searchPath =
        pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        const std::string_view folder = searchPath.substr(start, end - start);
        std::string candidate =
            folder.empty() ? std::string(name) : std::string(folder) + "/" + std::string(name);
        if (isExecutableFile(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

// Runs in the forked grandchild: only async-signal-safe calls until exec.
[[noreturn]] void execChild(const char* path, char* const argv[], int errorPipe, int passed) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        sigaction(signal, &defaultAction, nullptr);
    }
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull > 0) {
        dup2(devNull, STDIN_FILENO);
        close(devNull);
    }
    // Our own descriptors (X connection, buses, files) are none of the program's business.
    int firstClosed = 3;
    if (passed >= 0) {
        if (errorPipe == 3) {
            errorPipe = fcntl(errorPipe, F_DUPFD_CLOEXEC, 4);
        }
        // dup2 onto itself would keep its close-on-exec flag.
        if (passed == 3) {
            fcntl(passed, F_SETFD, 0);
        } else {
            dup2(passed, 3);
        }
        firstClosed = 4;
    }
    close_range(static_cast<unsigned>(firstClosed), ~0U, CLOSE_RANGE_CLOEXEC);
    execv(path, argv);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(errorPipe, &error, sizeof error);
    _exit(127);
}

}  // namespace

std::optional<ProgramCommand> resolveProgramCommand(std::string_view commandLine) {
    const std::string_view text = trimmed(commandLine);
    if (auto program = findExecutable(text)) {
        return ProgramCommand{*program, {}};
    }
    // Only prefixes short enough to name a file: a long text of many words is not tried once
    // per blank, which would take time in the square of its length.
    for (std::size_t end = std::min<std::size_t>(text.size(), PATH_MAX); end-- > 1;) {
        if (!isBlank(text[end]) || isBlank(text[end - 1])) {
            continue;
        }
        if (auto program = findExecutable(text.substr(0, end))) {
            return ProgramCommand{*program, splitShellWords(text.substr(end + 1))};
        }
    }
    std::vector<std::string> words = splitShellWords(text);
    if (words.empty()) {
        return std::nullopt;
    }
    auto program = findExecutable(words.front());
    if (!program) {
        return std::nullopt;
    }
    words.erase(words.begin());
    return ProgramCommand{*program, std::move(words)};
}

Status startDetached(const ProgramCommand& command, int passedDescriptor) {
    // Everything the child needs is built before fork: after it only async-signal-safe calls.
    std::vector<std::string> words;
    words.reserve(command.arguments.size() + 1);
    words.push_back(command.program);
    words.insert(words.end(), command.arguments.begin(), command.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    // The grandchild writes its exec error here; a successful exec closes it unwritten.
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        return Status::failure(std::string("pipe: ") + std::strerror(errno));
    }
    const pid_t middle = fork();
    if (middle == 0) {
        close(errorPipe[0]);
        setsid();
        const pid_t child = fork();
        if (child == 0) {
            execChild(command.program.c_str(), argv.data(), errorPipe[1], passedDescriptor);
        }
        if (child < 0) {
            const int error = errno;
            [[maybe_unused]] const ssize_t written = write(errorPipe[1], &error, sizeof error);
        }
        _exit(0);
    }
    const int forkError = errno;
    close(errorPipe[1]);
    if (middle < 0) {
        close(errorPipe[0]);
        return Status::failure(std::string("fork: ") + std::strerror(forkError));
    }
    int childError = 0;
    ssize_t got = 0;
    do {
        got = read(errorPipe[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof childError)) {
        return Status::failure(command.program + ": " + std::strerror(childError));
    }
    return Status::success();
}

}  // namespace pontrel
