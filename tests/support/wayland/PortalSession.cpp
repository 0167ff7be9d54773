#include "support/wayland/PortalSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "platform/linux/PrivateBus.h"

namespace pontrel::test {

namespace {

using namespace std::chrono_literals;

const QString fakeService = QStringLiteral("org.freedesktop.impl.portal.Fake");
const char* const frontendProgram = "/usr/libexec/xdg-desktop-portal";
const char* const python = "/usr/bin/python3";  // Debian's, which has dbus and dbusmock

std::string monitorsJson(const std::vector<PortalSession::Monitor>& monitors) {
    std::string json;
    for (const auto& m : monitors) {
        json += std::string(json.empty() ? "" : ", ") + "[" + std::to_string(m.node) + ", " +
                std::to_string(m.x) + ", " + std::to_string(m.y) + ", " + std::to_string(m.width) +
                ", " + std::to_string(m.height) + "]";
    }
    return json;
}

// Waits until the name has an owner on the bus at `address`.
bool waitForName(const std::string& address, const QString& name) {
    const QString connectionName = QStringLiteral("pontrel-portal-bed");
    bool owned = false;
    {
        const QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromStdString(address), connectionName);
        const auto end = std::chrono::steady_clock::now() + 15s;
        while (!owned && std::chrono::steady_clock::now() < end) {
            owned = bus.isConnected() && bus.interface()->isServiceRegistered(name).value();
            if (!owned) {
                std::this_thread::sleep_for(50ms);
            }
        }
    }
    QDBusConnection::disconnectFromBus(connectionName);
    return owned;
}

bool waitForFile(const std::string& path) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    return std::filesystem::exists(path);
}

// The processes the bus started on demand (the document portal, the permission store): ended
// with the bus, they would still write into the folders.
std::vector<pid_t> startedByTheBus(const std::string& address, std::vector<pid_t> known) {
    known.push_back(getpid());
    std::vector<pid_t> started;
    const QString connectionName = QStringLiteral("pontrel-portal-bed");
    {
        const QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromStdString(address), connectionName);
        const QStringList names =
            bus.isConnected() ? bus.interface()->registeredServiceNames().value() : QStringList();
        for (const QString& name : names) {
            if (name == QStringLiteral("org.freedesktop.DBus")) {
                continue;  // the bus itself
            }
            const auto pid = static_cast<pid_t>(bus.interface()->servicePid(name).value());
            if (pid > 0 && std::find(known.begin(), known.end(), pid) == known.end() &&
                std::find(started.begin(), started.end(), pid) == started.end()) {
                started.push_back(pid);
            }
        }
    }
    QDBusConnection::disconnectFromBus(connectionName);
    return started;
}

}  // namespace

PortalSession::PortalSession(const std::vector<Monitor>& monitors, Video video) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pontrel-portal-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        failure_ = "no folder";
        return;
    }
    folder_ = pattern;
    for (const char* sub : {"/portals", "/config", "/data", "/state", "/runtime"}) {
        mkdir((folder_ + sub).c_str(), 0700);
    }
    std::ofstream(folder_ + "/portals/pontrelfake.portal")
        << "[portal]\nDBusName=org.freedesktop.impl.portal.Fake\n"
           "Interfaces=org.freedesktop.impl.portal.RemoteDesktop;"
           "org.freedesktop.impl.portal.ScreenCast;org.freedesktop.impl.portal.Screenshot;"
           "org.freedesktop.impl.portal.GlobalShortcuts;org.freedesktop.impl.portal.Access;\n"
           "UseIn=pontrelfake\n";
    // Set before the bus starts: the services it starts on demand take its environment.
    const std::vector<std::pair<std::string, std::string>> variables = {
        {"XDG_DESKTOP_PORTAL_DIR", folder_ + "/portals"},
        {"XDG_CURRENT_DESKTOP", "pontrelfake"},
        {"XDG_CONFIG_HOME", folder_ + "/config"},
        {"XDG_DATA_HOME", folder_ + "/data"},
        {"XDG_STATE_HOME", folder_ + "/state"},  // wireplumber keeps its state there
        {"XDG_RUNTIME_DIR", folder_ + "/runtime"},
        {"DISPLAY", ""},
        {"WAYLAND_DISPLAY", ""},
        {"DBUS_SESSION_BUS_ADDRESS", ""},
    };
    for (const auto& [name, value] : variables) {
        const char* previous = std::getenv(name.c_str());
        savedVariables_.emplace_back(name, previous != nullptr ? previous : "");
        if (value.empty()) {
            unsetenv(name.c_str());
        } else {
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    bus_ = std::make_unique<PrivateBus>();
    if (bus_->address().empty()) {
        failure_ = "the private bus did not start";
        return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", bus_->address().c_str(), 1);
    if (video == Video::PipeWire) {
        video_.push_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{"/usr/bin/pipewire"}, -1, folder_ + "/pipewire.log"));
        if (!waitForFile(folder_ + "/runtime/pipewire-0")) {
            failure_ = "pipewire did not start (see " + folder_ + "/pipewire.log)";
            return;
        }
        // It links the streams.
        video_.push_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{"/usr/bin/wireplumber"}, -1, folder_ + "/wireplumber.log"));
    }
    backend_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{python, "-m", "dbusmock", "--session", "--template",
                                 PONTREL_FAKE_PORTAL_BACKEND, "--logfile", folder_ + "/backend.log",
                                 "--parameters",
                                 "{\"screenshot\": \"" + screenshotFile() + "\", \"streams\": [" +
                                     monitorsJson(monitors) + "]}"},
        -1, folder_ + "/backend.out");
    if (!waitForName(bus_->address(), fakeService)) {
        failure_ = "the fake portal backend did not start (see " + folder_ + "/backend.out)";
        return;
    }
    frontend_ = std::make_unique<ChildProcess>(std::vector<std::string>{frontendProgram, "-r"}, -1,
                                               folder_ + "/frontend.log");
    if (!waitForName(bus_->address(), QStringLiteral("org.freedesktop.portal.Desktop"))) {
        failure_ = "the portal frontend did not start (see " + folder_ + "/frontend.log)";
    }
}

PortalSession::~PortalSession() {
    std::vector<pid_t> others;
    if (bus_ != nullptr && !bus_->address().empty()) {
        std::vector<pid_t> known;
        for (const auto* child : {backend_.get(), frontend_.get()}) {
            if (child != nullptr) {
                known.push_back(child->pid());
            }
        }
        for (const auto& child : video_) {
            known.push_back(child->pid());
        }
        others = startedByTheBus(bus_->address(), known);
    }
    frontend_.reset();
    backend_.reset();
    // wireplumber before pipewire.
    while (!video_.empty()) {
        video_.pop_back();
    }
    for (const pid_t pid : others) {
        kill(pid, SIGTERM);
    }
    // The bus reaps them.
    const auto end = std::chrono::steady_clock::now() + 5s;
    for (const pid_t pid : others) {
        while (kill(pid, 0) == 0 && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(10ms);
        }
    }
    bus_.reset();
    for (const auto& [name, value] : savedVariables_) {
        if (value.empty()) {
            unsetenv(name.c_str());
        } else {
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

std::vector<std::string> PortalSession::calls(const std::string& method) const {
    static const std::regex handle(R"re("/org/freedesktop/portal/desktop/[^"]*" )re");
    std::ifstream log(folder_ + "/backend.log");
    std::vector<std::string> found;
    std::string line;
    const std::string marker = " " + method + " ";
    while (std::getline(log, line)) {
        const auto at = line.find(marker);
        if (at == std::string::npos || line.find(' ') != at) {
            continue;
        }
        std::string arguments = std::regex_replace(line.substr(at + marker.size()), handle, "");
        if (arguments.rfind("{} ", 0) == 0) {
            arguments.erase(0, 3);
        }
        found.push_back(arguments);
    }
    return found;
}

void PortalSession::callFake(const std::string& method, const QVariantList& arguments) {
    const QString connectionName = QStringLiteral("pontrel-portal-bed");
    {
        const QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromStdString(bus_->address()), connectionName);
        QDBusMessage message = QDBusMessage::createMethodCall(
            fakeService, QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.pontrel.FakePortal"), QString::fromStdString(method));
        message.setArguments(arguments);
        bus.call(message);
    }
    QDBusConnection::disconnectFromBus(connectionName);
}

void PortalSession::press(const std::string& shortcutId, bool down) {
    callFake("Press", {QString::fromStdString(shortcutId), down});
}

void PortalSession::answerScreenshots(unsigned answer) {
    callFake("SetScreenshotAnswer", {answer});
}

void PortalSession::closeSessions() {
    callFake("CloseSessions", {});
}

void PortalSession::castMonitors(const std::vector<Monitor>& monitors) {
    callFake("SetStreams", {QString::fromStdString("[" + monitorsJson(monitors) + "]")});
}

}  // namespace pontrel::test
