#include "support/wayland/SwaySession.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pontrel::test {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char sessionUser[] = "pontrel-test";
constexpr auto startTimeout = 20s;

// The unprivileged user sway runs as when we are root; created without a home on first use.
passwd sessionAccount() {
    if (getpwnam(sessionUser) == nullptr) {
        const std::string command = std::string(
                                        "useradd --system --no-create-home --shell "
                                        "/usr/sbin/nologin ") +
                                    sessionUser + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0 && getpwnam(sessionUser) == nullptr) {
            throw std::runtime_error("cannot create the user for the sway session");
        }
    }
    return *getpwnam(sessionUser);
}

void makeFolder(const std::string& path, uid_t uid, gid_t gid, mode_t mode) {
    if (mkdir(path.c_str(), mode) != 0 || chown(path.c_str(), uid, gid) != 0 ||
        chmod(path.c_str(), mode) != 0) {
        throw std::runtime_error("cannot prepare " + path);
    }
}

}  // namespace

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool eventually(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return done();
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

SessionProcess::~SessionProcess() {
    if (running()) {
        kill(SIGTERM);
        if (!waitExit(3000)) {
            kill(SIGKILL);
            waitExit(3000);
        }
    }
}

bool SessionProcess::running() {
    return !waitExit(0).has_value();
}

std::optional<int> SessionProcess::waitExit(int timeoutMs) {
    if (status_ || pid_ <= 0) {
        return status_;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(5ms);
    }
}

void SessionProcess::kill(int signalNumber) {
    if (!status_ && pid_ > 0) {
        ::kill(pid_, signalNumber);
    }
}

SwaySession::SwaySession(const std::string& layout, LogCommands log) {
    switchUser_ = geteuid() == 0;
    if (switchUser_) {
        const passwd account = sessionAccount();
        uid_ = account.pw_uid;
        gid_ = account.pw_gid;
    } else {
        uid_ = geteuid();
        gid_ = getegid();
    }
    char folderTemplate[] = "/tmp/pontrel-sway-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr) {
        throw std::runtime_error("cannot create a folder for the sway session");
    }
    folder_ = folderTemplate;
    if (chown(folder_.c_str(), uid_, gid_) != 0 || chmod(folder_.c_str(), 0755) != 0) {
        throw std::runtime_error("cannot hand the session folder to its user");
    }
    runtimeDir_ = folder_ + "/run";
    makeFolder(runtimeDir_, uid_, gid_, 0700);
    makeFolder(folder_ + "/home", uid_, gid_, 0700);

    const std::string config = folder_ + "/sway.conf";
    std::ofstream(config) << "output HEADLESS-1 mode 1920x1080 position 0 0\n"
                             "default_border none\n"
                             "xwayland enable\n"
                             "exec echo \"$DISPLAY\" > "
                          << folder_ << "/xdisplay\n";
    std::vector<std::string> sway = {"sway", "-c", config};
    if (log == LogCommands::Yes) {
        sway.push_back("--debug");
    }
    sway_ = start(sway,
                  {{"WLR_BACKENDS", "headless"},
                   {"WLR_LIBINPUT_NO_DEVICES", "1"},
                   {"WLR_RENDERER", "pixman"},
                   {"WLR_HEADLESS_OUTPUTS", "1"}},
                  "sway");
    const bool started = eventually(
        [this] {
            for (const auto& entry : fs::directory_iterator(runtimeDir_)) {
                const std::string name = entry.path().filename();
                if (name.rfind("wayland-", 0) == 0 && name.find('.') == std::string::npos) {
                    waylandDisplay_ = name;
                } else if (name.rfind("sway-ipc.", 0) == 0) {
                    swaySocket_ = entry.path();
                }
            }
            xDisplay_ = readFile(folder_ + "/xdisplay");
            return !waylandDisplay_.empty() && !swaySocket_.empty() && !xDisplay_.empty() &&
                   xDisplay_.back() == '\n';
        },
        startTimeout);
    if (!started || !sway_->running()) {
        throw std::runtime_error("sway did not start (is the package sway installed?): " +
                                 readFile(sway_->logFile()));
    }
    xDisplay_.pop_back();

    setenv("XDG_RUNTIME_DIR", runtimeDir_.c_str(), 1);
    setenv("WAYLAND_DISPLAY", waylandDisplay_.c_str(), 1);
    setenv("SWAYSOCK", swaySocket_.c_str(), 1);
    setenv("DISPLAY", xDisplay_.c_str(), 1);
    const std::string noBus = "unix:path=" + folder_ + "/no-bus";
    setenv("DBUS_SESSION_BUS_ADDRESS", noBus.c_str(), 1);

    if (layout.empty()) {
        return;
    }
    keyboard_ = start({PONTREL_LAYOUT_KEYBOARD, layout}, {}, "keyboard");
    if (!eventually(
            [this] { return readFile(keyboard_->logFile()).find("ready") != std::string::npos; },
            startTimeout)) {
        throw std::runtime_error("the layout keyboard did not start: " +
                                 readFile(keyboard_->logFile()));
    }
}

SwaySession::~SwaySession() {
    keyboard_.reset();
    sway_.reset();
    for (const char* name : {"XDG_RUNTIME_DIR", "WAYLAND_DISPLAY", "SWAYSOCK", "DISPLAY",
                             "DBUS_SESSION_BUS_ADDRESS"}) {
        unsetenv(name);
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::map<std::string, std::string> SwaySession::environment() const {
    std::map<std::string, std::string> environment = {
        {"PATH", "/usr/local/bin:/usr/bin:/bin"},
        {"HOME", folder_ + "/home"},
        {"LANG", "C.UTF-8"},
        {"LC_ALL", "C.UTF-8"},
        {"XDG_RUNTIME_DIR", runtimeDir_},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + folder_ + "/no-bus"},
    };
    if (!waylandDisplay_.empty()) {
        environment["WAYLAND_DISPLAY"] = waylandDisplay_;
        environment["SWAYSOCK"] = swaySocket_;
        environment["DISPLAY"] = xDisplay_;
    }
    return environment;
}

std::unique_ptr<SessionProcess> SwaySession::start(const std::vector<std::string>& argv,
                                                   const std::map<std::string, std::string>& extra,
                                                   const std::string& name) {
    std::map<std::string, std::string> variables = environment();
    for (const auto& [key, value] : extra) {
        variables[key] = value;
    }
    std::vector<std::string> entries;
    for (const auto& [key, value] : variables) {
        entries.push_back(key + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& entry : entries) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> cargv;
    for (std::string& arg : args) {
        cargv.push_back(arg.data());
    }
    cargv.push_back(nullptr);
    const std::string logFile = folder_ + "/" + name + ".log";
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid == 0) {
        const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        setpgid(0, 0);
        if (switchUser_ && (setgroups(0, nullptr) != 0 || setgid(gid_) != 0 || setuid(uid_) != 0)) {
            _exit(126);
        }
        // After the change of user, which clears it: a test program that dies takes its
        // session with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(125);
        }
        if (chdir(folder_.c_str()) != 0) {
            _exit(124);
        }
        execvpe(cargv[0], cargv.data(), envp.data());
        _exit(127);
    }
    if (pid < 0) {
        throw std::runtime_error("cannot start " + argv.front());
    }
    return std::make_unique<SessionProcess>(pid, logFile);
}

std::string SwaySession::swaymsg(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"swaymsg", "-s", swaySocket_};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::string name = "swaymsg";
    auto process = start(argv, {}, name);
    const auto status = process->waitExit(10000);
    const std::string output = readFile(process->logFile());
    if (!status || *status != 0) {
        throw std::runtime_error("swaymsg failed: " + output);
    }
    return output;
}

pid_t SwaySession::focusedPid() {
    const QJsonDocument tree =
        QJsonDocument::fromJson(QByteArray::fromStdString(swaymsg({"-r", "-t", "get_tree"})));
    std::vector<QJsonObject> nodes = {tree.object()};
    while (!nodes.empty()) {
        const QJsonObject node = nodes.back();
        nodes.pop_back();
        if (node.value("focused").toBool()) {
            return static_cast<pid_t>(node.value("pid").toInt());
        }
        for (const char* children : {"nodes", "floating_nodes"}) {
            for (const QJsonValue& child : node.value(children).toArray()) {
                nodes.push_back(child.toObject());
            }
        }
    }
    return 0;
}

bool SwaySession::waitForFocus(pid_t pid, int timeoutMs) {
    return eventually([&] { return focusedPid() == pid; }, std::chrono::milliseconds(timeoutMs));
}

}  // namespace pontrel::test
