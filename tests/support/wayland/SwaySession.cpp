#include "support/wayland/SwaySession.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pontrel::test {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto startTimeout = 20s;

}  // namespace

SwaySession::SwaySession(const std::string& layout, LogCommands log, XWayland xwayland) {
    const std::string config = session_.folder() + "/sway.conf";
    std::ofstream(config) << "output HEADLESS-1 mode 1920x1080 position 0 0\n"
                             "default_border none\n"
                          << (xwayland == XWayland::Enabled ? "xwayland enable\n"
                                                            : "xwayland disable\n")
                          << "exec echo \"$DISPLAY\" > " << session_.folder() << "/xdisplay\n";
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
            for (const auto& entry : fs::directory_iterator(session_.runtimeDir())) {
                const std::string name = entry.path().filename();
                if (name.rfind("wayland-", 0) == 0 && name.find('.') == std::string::npos) {
                    waylandDisplay_ = name;
                } else if (name.rfind("sway-ipc.", 0) == 0) {
                    swaySocket_ = entry.path();
                }
            }
            xDisplay_ = readFile(session_.folder() + "/xdisplay");
            return !waylandDisplay_.empty() && !swaySocket_.empty() && !xDisplay_.empty() &&
                   xDisplay_.back() == '\n';
        },
        startTimeout);
    if (!started || !sway_->running()) {
        throw std::runtime_error("sway did not start (is the package sway installed?): " +
                                 readFile(sway_->logFile()));
    }
    xDisplay_.pop_back();

    session_.publish({{"WAYLAND_DISPLAY", waylandDisplay_}, {"SWAYSOCK", swaySocket_}});
    if (!xDisplay_.empty()) {
        session_.publish({{"DISPLAY", xDisplay_}});
    }

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
}

std::unique_ptr<SessionProcess> SwaySession::start(const std::vector<std::string>& argv,
                                                   const std::map<std::string, std::string>& extra,
                                                   const std::string& name) {
    return session_.start(argv, extra, name);
}

std::string SwaySession::swaymsg(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"swaymsg", "-s", swaySocket_};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return session_.run(argv, "swaymsg");
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
