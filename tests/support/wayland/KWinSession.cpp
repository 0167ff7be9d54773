#include "support/wayland/KWinSession.h"

#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pontrel::test {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto startTimeout = 30s;
constexpr char waylandDisplay[] = "pontrel-kwin";
// gdbus waits at most this long for a name (seconds), below PrivateSession::run's limit.
constexpr char nameTimeout[] = "9";

// A folder the session's user owns, like the session folder.
void makeUserFolder(const std::string& owner, const std::string& path) {
    struct stat status {};
    fs::create_directories(path);
    if (stat(owner.c_str(), &status) != 0 ||
        chown(path.c_str(), status.st_uid, status.st_gid) != 0) {
        throw std::runtime_error("cannot hand " + path + " to the session's user");
    }
}

std::string withExec(const std::string& desktopFile, const std::string& program) {
    std::istringstream lines(desktopFile);
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        result += (line.rfind("Exec=", 0) == 0 ? "Exec=" + program + " %f" : line) + "\n";
    }
    return result;
}

}  // namespace

KWinSession::KWinSession(const std::string& layout, Permissions permissions,
                         const std::string& desktopFile, const std::vector<std::string>& allowed) {
    const std::string folder = session_.folder();
    const std::string kwin = folder + "/bin/kwin_wayland";
    fs::create_directories(folder + "/bin");
    // A plain copy: file capabilities are extended attributes, which it leaves behind.
    fs::copy_file("/usr/bin/kwin_wayland", kwin);
    fs::permissions(kwin, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);

    const std::string config = folder + "/config";
    makeUserFolder(folder, config);
    std::ofstream(config + "/kxkbrc") << "[Layout]\nLayoutList=" << layout << "\nUse=true\n";
    const std::string applications = folder + "/data/applications";
    makeUserFolder(folder, applications);
    for (std::size_t i = 0; i < allowed.size(); ++i) {
        std::ofstream(applications + "/allowed-" + std::to_string(i) + ".desktop")
            << withExec(desktopFile, allowed[i]);
    }

    bus_ = session_.startBus(session_.runtimeDir() + "/bus", "bus");
    session_.publish({{"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + session_.runtimeDir() + "/bus"},
                      {"XDG_CONFIG_HOME", config},
                      {"XDG_DATA_DIRS", folder + "/data:/usr/share"}});
    std::map<std::string, std::string> variables;
    if (permissions == Permissions::Open) {
        variables["KWIN_WAYLAND_NO_PERMISSION_CHECKS"] = "1";
        variables["KWIN_SCREENSHOT_NO_PERMISSION_CHECKS"] = "1";
    }
    kwin_ = session_.start({kwin, "--virtual", "--width", "1920", "--height", "1080", "--socket",
                            waylandDisplay, "--no-lockscreen"},
                           variables, "kwin");
    const std::string socket = session_.runtimeDir() + "/" + waylandDisplay;
    struct stat status {};
    if (!eventually([&] { return stat(socket.c_str(), &status) == 0 || !kwin_->running(); },
                    startTimeout) ||
        !kwin_->running()) {
        throw std::runtime_error(
            "kwin_wayland did not start (is the package kwin-wayland "
            "installed?): " +
            readFile(kwin_->logFile()));
    }
    session_.run({"gdbus", "wait", "--session", "--timeout", nameTimeout, "org.kde.KWin"},
                 "wait-kwin");
    session_.publish({{"WAYLAND_DISPLAY", waylandDisplay}});
}

KWinSession::~KWinSession() = default;

std::unique_ptr<SessionProcess> KWinSession::start(const std::vector<std::string>& argv,
                                                   const std::map<std::string, std::string>& extra,
                                                   const std::string& name) {
    return session_.start(argv, extra, name);
}

std::string KWinSession::run(const std::vector<std::string>& argv, const std::string& name) {
    return session_.run(argv, name);
}

}  // namespace pontrel::test
