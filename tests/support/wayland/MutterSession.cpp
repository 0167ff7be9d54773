#include "support/wayland/MutterSession.h"

#include <sys/stat.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace pontrel::test {

namespace {

using namespace std::chrono_literals;

constexpr auto startTimeout = 20s;
constexpr char waylandDisplay[] = "pontrel-wayland";
// gdbus waits at most this long for a name (seconds), below PrivateSession::run's limit.
constexpr char nameTimeout[] = "9";

namespace fs = std::filesystem;

bool socketExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

}  // namespace

MutterSession::MutterSession(const std::string& layout, XWayland xwayland,
                             const std::vector<std::string>& monitors) {
    const std::string systemBus = "unix:path=" + session_.folder() + "/system-bus";
    systemBus_ = session_.startBus(session_.folder() + "/system-bus", "system-bus");
    // A copy the session's user can read, wherever the sources are.
    const std::string layoutTemplate = session_.folder() + "/keyboard_layout_service.py";
    std::ofstream(layoutTemplate) << readFile(PONTREL_LAYOUT_SERVICE);
    layoutService_ = session_.start({"/usr/bin/python3", "-m", "dbusmock", "-t", layoutTemplate,
                                     "-p", "{\"layout\": \"" + layout + "\"}"},
                                    {{"DBUS_SYSTEM_BUS_ADDRESS", systemBus}}, "layout-service");
    session_.run({"gdbus", "wait", "--address", systemBus, "--timeout", nameTimeout,
                  "org.freedesktop.locale1"},
                 "wait-layout-service");

    busAddress_ = "unix:path=" + session_.runtimeDir() + "/bus";
    bus_ = session_.startBus(session_.runtimeDir() + "/bus", "bus");
    session_.publish({{"DBUS_SESSION_BUS_ADDRESS", busAddress_}});
    pipewire_ = session_.start({"pipewire"}, {}, "pipewire");
    // wireplumber gives up at once when pipewire does not answer yet.
    if (!eventually([&] { return socketExists(session_.runtimeDir() + "/pipewire-0"); },
                    startTimeout)) {
        throw std::runtime_error("pipewire did not start: " + readFile(pipewire_->logFile()));
    }
    wireplumber_ = session_.start({"wireplumber"}, {}, "wireplumber");

    std::vector<std::string> mutter = {"mutter", "--headless", "--wayland",
                                       std::string("--wayland-display=") + waylandDisplay};
    for (const std::string& size : monitors) {
        mutter.insert(mutter.end(), {"--virtual-monitor", size});
    }
    if (xwayland == XWayland::No) {
        mutter.push_back("--no-x11");
    }
    mutter_ = session_.start(
        mutter, {{"DBUS_SYSTEM_BUS_ADDRESS", systemBus}, {"GSETTINGS_BACKEND", "memory"}},
        "mutter");
    const std::regex xDisplayLine("public X11 display (:[0-9]+)");
    const bool started = eventually(
        [&] {
            std::smatch match;
            const std::string log = readFile(mutter_->logFile());
            if (std::regex_search(log, match, xDisplayLine)) {
                xDisplay_ = match[1];
            }
            return socketExists(session_.runtimeDir() + "/" + waylandDisplay) &&
                   (xwayland == XWayland::No || !xDisplay_.empty());
        },
        startTimeout);
    if (!started || !mutter_->running()) {
        throw std::runtime_error("mutter did not start (is the package mutter installed?): " +
                                 readFile(mutter_->logFile()));
    }
    for (const char* name : {"org.gnome.Mutter.RemoteDesktop", "org.gnome.Mutter.ScreenCast",
                             "org.gnome.Mutter.DisplayConfig"}) {
        session_.run({"gdbus", "wait", "--session", "--timeout", nameTimeout, name}, "wait-mutter");
    }
    session_.publish({{"WAYLAND_DISPLAY", waylandDisplay}});
    if (!xDisplay_.empty()) {
        session_.publish({{"DISPLAY", xDisplay_}, {"XAUTHORITY", xAuthority()}});
    }
}

MutterSession::~MutterSession() = default;

std::string MutterSession::xAuthority() const {
    for (const auto& entry : fs::directory_iterator(session_.runtimeDir())) {
        if (entry.path().filename().string().rfind(".mutter-Xwaylandauth", 0) == 0) {
            return entry.path();
        }
    }
    throw std::runtime_error("mutter made no XWayland authority file");
}

std::unique_ptr<SessionProcess> MutterSession::start(
    const std::vector<std::string>& argv, const std::map<std::string, std::string>& extra,
    const std::string& name) {
    return session_.start(argv, extra, name);
}

std::string MutterSession::run(const std::vector<std::string>& argv, const std::string& name) {
    return session_.run(argv, name);
}

}  // namespace pontrel::test
