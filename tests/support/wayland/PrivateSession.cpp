#include "support/wayland/PrivateSession.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace pontrel::test {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char sessionUser[] = "pontrel-test";
constexpr auto busStartTimeout = 20s;
// What a test program may have inherited that would lead it to the user's own desktop.
constexpr const char* inheritedDesktop[] = {"WAYLAND_DISPLAY", "DISPLAY", "XAUTHORITY"};

// The unprivileged user the session runs as when we are root; created without a home on first use.
passwd sessionAccount() {
    if (getpwnam(sessionUser) == nullptr) {
        const std::string command = std::string(
                                        "useradd --system --no-create-home --shell "
                                        "/usr/sbin/nologin ") +
                                    sessionUser + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0 && getpwnam(sessionUser) == nullptr) {
            throw std::runtime_error("cannot create the user for the private session");
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

// NUL-terminated pointers into the strings, as exec wants them; valid while they live.
std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& entry : strings) {
        result.push_back(entry.data());
    }
    result.push_back(nullptr);
    return result;
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
        // The group, so that helpers the program started (XWayland of a desktop) go with it.
        ::kill(-pid_, signalNumber);
    }
}

PrivateSession::PrivateSession(const std::string& kind, User user) {
    switchUser_ = geteuid() == 0 && user == User::Unprivileged;
    if (switchUser_) {
        const passwd account = sessionAccount();
        uid_ = account.pw_uid;
        gid_ = account.pw_gid;
    } else {
        uid_ = geteuid();
        gid_ = getegid();
    }
    std::string folderTemplate = "/tmp/pontrel-" + kind + "-XXXXXX";
    if (mkdtemp(folderTemplate.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder for the " + kind + " session");
    }
    folder_ = folderTemplate;
    if (chown(folder_.c_str(), uid_, gid_) != 0 || chmod(folder_.c_str(), 0755) != 0) {
        throw std::runtime_error("cannot hand the session folder to its user");
    }
    runtimeDir_ = folder_ + "/run";
    makeFolder(runtimeDir_, uid_, gid_, 0700);
    makeFolder(folder_ + "/home", uid_, gid_, 0700);

    for (const char* name : inheritedDesktop) {
        unsetenv(name);
    }
    publish({{"XDG_RUNTIME_DIR", runtimeDir_}, {"DBUS_SESSION_BUS_ADDRESS", noBus()}});
}

PrivateSession::~PrivateSession() {
    for (const char* name : inheritedDesktop) {
        unsetenv(name);
    }
    for (const auto& [name, value] : published_) {
        unsetenv(name.c_str());
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string PrivateSession::noBus() const {
    return "unix:path=" + folder_ + "/no-bus";
}

void PrivateSession::publish(const std::map<std::string, std::string>& variables) {
    for (const auto& [name, value] : variables) {
        published_[name] = value;
        setenv(name.c_str(), value.c_str(), 1);
    }
}

std::unique_ptr<SessionProcess> PrivateSession::start(
    const std::vector<std::string>& argv, const std::map<std::string, std::string>& extra,
    const std::string& name) {
    std::map<std::string, std::string> variables = {
        {"PATH", "/usr/local/bin:/usr/bin:/bin"},
        {"HOME", folder_ + "/home"},
        {"LANG", "C.UTF-8"},
        {"LC_ALL", "C.UTF-8"},
    };
    for (const auto& source : {published_, extra}) {
        for (const auto& [key, value] : source) {
            variables[key] = value;
        }
    }
    std::vector<std::string> entries;
    for (const auto& [key, value] : variables) {
        entries.push_back(key + "=" + value);
    }
    std::vector<char*> envp = pointers(entries);
    std::vector<std::string> args = argv;
    std::vector<char*> cargv = pointers(args);
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
    // Also here, so that a kill of the group cannot come before the child has made it.
    setpgid(pid, pid);
    return std::make_unique<SessionProcess>(pid, logFile);
}

std::unique_ptr<SessionProcess> PrivateSession::startBus(const std::string& socket,
                                                         const std::string& name) {
    // The test program connects too, as root when the session runs as a user of its own.
    const std::string config = folder_ + "/" + name + ".conf";
    std::ofstream(config) << "<busconfig>\n"
                             "  <type>session</type>\n"
                             "  <listen>unix:path="
                          << socket
                          << "</listen>\n"
                             "  <auth>EXTERNAL</auth>\n"
                             "  <policy context=\"default\">\n"
                             "    <allow user=\"*\"/>\n"
                             "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                             "    <allow eavesdrop=\"true\"/>\n"
                             "    <allow own=\"*\"/>\n"
                             "  </policy>\n"
                             "</busconfig>\n";
    auto bus =
        start({"dbus-daemon", "--config-file=" + config, "--nofork", "--nopidfile"}, {}, name);
    struct stat status {};
    if (!eventually([&] { return stat(socket.c_str(), &status) == 0 && S_ISSOCK(status.st_mode); },
                    busStartTimeout)) {
        throw std::runtime_error("the bus " + name + " did not start: " + readFile(bus->logFile()));
    }
    return bus;
}

std::string PrivateSession::run(const std::vector<std::string>& argv, const std::string& name) {
    auto process = start(argv, {}, name);
    const auto status = process->waitExit(10000);
    const std::string output = readFile(process->logFile());
    if (!status || *status != 0) {
        throw std::runtime_error(argv.front() + " failed: " + output);
    }
    return output;
}

}  // namespace pontrel::test
