#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/LinuxSystemService.h"
#include "platform/linux/PrivateBus.h"
#include "platform/linux/TempFolder.h"
#include "platform/x11/X11DisplayPower.h"

namespace pontrel {
namespace {

using test::ChildProcess;

// Sets an environment variable for one scope; nullptr removes it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A dbusmock service on the private bus, with the calls it logged.
class MockService {
public:
    MockService(const std::string& logFile, std::vector<std::string> arguments)
        : logFile_(logFile) {
        std::vector<std::string> argv{"/usr/bin/python3", "-m", "dbusmock", "-l", logFile};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        process_ = std::make_unique<ChildProcess>(argv);
    }

    pid_t pid() const { return process_->pid(); }

    // The calls logged since the last look, without their time stamps.
    std::vector<std::string> newCalls() {
        std::ifstream log(logFile_);
        std::vector<std::string> calls;
        std::string line;
        for (std::size_t number = 0; std::getline(log, line); ++number) {
            if (number >= linesSeen_) {
                calls.push_back(line.substr(line.find(' ') + 1));
                ++linesSeen_;
            }
        }
        return calls;
    }

private:
    std::string logFile_;
    std::unique_ptr<ChildProcess> process_;
    std::size_t linesSeen_ = 0;
};

bool contains(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

const QString logind = QStringLiteral("org.freedesktop.login1");
const QString screenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString mockInterface = QStringLiteral("org.freedesktop.DBus.Mock");

// logind and a screen saver mocked on a bus of our own that serves as both system and session
// bus. Nothing runs unless the logind that answers is provably our mock: no test may lock,
// reboot or power off the machine.
class LogindSessionTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        application = new QCoreApplication(argc, argv);
        folder = new test::TempFolder;
        bus = new test::PrivateBus;
        const std::string& address = bus->address();
        if (address.empty() || address.find("/run/dbus") != std::string::npos) {
            refusal = "no private bus: '" + address + "'";
            return;
        }
        setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        logindMock = new MockService(*folder / "logind.log", {"--system", "--template", "logind"});
        screenSaverMock =
            new MockService(*folder / "screensaver.log",
                            {"--session", "org.freedesktop.ScreenSaver",
                             "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"});
        if (ownerPid(logind) != static_cast<uint>(logindMock->pid()) ||
            ownerPid(screenSaver) != static_cast<uint>(screenSaverMock->pid())) {
            refusal =
                "the mocks did not take their names on the private bus "
                "(is python3-dbusmock installed for /usr/bin/python3?)";
            return;
        }
        call(logind, "/org/freedesktop/login1", mockInterface, "AddSession",
             {QStringLiteral("c1"), QStringLiteral("seat0"), 1000u, QStringLiteral("user"), true});
        call(screenSaver, "/org/freedesktop/ScreenSaver", mockInterface, "AddMethod",
             {screenSaver, QStringLiteral("Lock"), QString(), QString(), QString()});
    }

    static void TearDownTestSuite() {
        delete screenSaverMock;
        delete logindMock;
        delete bus;
        delete folder;
        delete application;
    }

    void SetUp() override {
        ASSERT_TRUE(refusal.empty()) << refusal;
        ASSERT_EQ(std::getenv("DBUS_SYSTEM_BUS_ADDRESS"), bus->address());
        logindMock->newCalls();
        screenSaverMock->newCalls();
    }

    // The process that owns a name on our bus, waiting a while for it to appear.
    static uint ownerPid(const QString& service) {
        for (int i = 0; i < 200; ++i) {
            const QDBusMessage reply =
                call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                     "GetConnectionUnixProcessID", {service});
            if (reply.type() == QDBusMessage::ReplyMessage) {
                return reply.arguments().value(0).toUInt();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return 0;
    }

    static QDBusMessage call(const QString& service, const char* path, const QString& interface,
                             const char* method, const QList<QVariant>& arguments) {
        QDBusConnection connection = QDBusConnection::connectToBus(
            QString::fromStdString(bus->address()), QStringLiteral("test-bus"));
        QDBusMessage message = QDBusMessage::createMethodCall(
            service, QString::fromLatin1(path), interface, QString::fromLatin1(method));
        message.setArguments(arguments);
        return connection.call(message);
    }

    static void addLogindMethod(const char* name, const char* in, const char* out,
                                const char* code) {
        call(logind, "/org/freedesktop/login1", mockInterface, "AddMethod",
             {QStringLiteral("org.freedesktop.login1.Manager"), QString::fromLatin1(name),
              QString::fromLatin1(in), QString::fromLatin1(out), QString::fromLatin1(code)});
    }

    static inline QCoreApplication* application = nullptr;
    static inline test::TempFolder* folder = nullptr;
    static inline test::PrivateBus* bus = nullptr;
    static inline MockService* logindMock = nullptr;
    static inline MockService* screenSaverMock = nullptr;
    static inline std::string refusal;

    X11DisplayPower power;
    LinuxSystemService service{power};
};

TEST_F(LogindSessionTest, LockAsksLogindForOurSessionAndTheScreenSaver) {
    ScopedVariable session("XDG_SESSION_ID", "c1");
    EXPECT_TRUE(service.lockWorkstation().ok());
    EXPECT_TRUE(contains(logindMock->newCalls(), "LockSession \"c1\""));
    EXPECT_TRUE(contains(screenSaverMock->newCalls(), "Lock"));
}

TEST_F(LogindSessionTest, WithoutASessionIdLogindIsAskedForTheSessionOfOurProcess) {
    ScopedVariable session("XDG_SESSION_ID", nullptr);
    // This logind cannot tell: the screen saver alone locks.
    EXPECT_TRUE(service.lockWorkstation().ok());
    EXPECT_TRUE(contains(screenSaverMock->newCalls(), "Lock"));
    {
        ScopedVariable noSessionBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        EXPECT_FALSE(service.lockWorkstation().ok()) << "nobody locked";
    }

    addLogindMethod("GetSessionByPID", "u", "o", "ret = '/org/freedesktop/login1/session/c1'");
    logindMock->newCalls();
    EXPECT_TRUE(service.lockWorkstation().ok());
    const auto calls = logindMock->newCalls();
    EXPECT_TRUE(contains(calls, "GetSessionByPID " + std::to_string(getpid()))) << calls.size();
    EXPECT_TRUE(contains(calls,
                         "emit /org/freedesktop/login1/session/c1 "
                         "org.freedesktop.login1.Session.Lock"));
}

TEST_F(LogindSessionTest, RebootAndShutdownAskLogindWithoutInteraction) {
    EXPECT_TRUE(service.reboot().ok());
    EXPECT_EQ(logindMock->newCalls(), std::vector<std::string>{"Reboot False"});
    EXPECT_TRUE(service.shutdown().ok());
    EXPECT_EQ(logindMock->newCalls(), std::vector<std::string>{"PowerOff False"});
}

TEST_F(LogindSessionTest, RefusalsAndMissingBusesAreFailures) {
    {
        ScopedVariable noSystemBus("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        ScopedVariable noSessionBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        EXPECT_FALSE(service.lockWorkstation().ok());
        EXPECT_FALSE(service.reboot().ok());
        EXPECT_FALSE(service.shutdown().ok());
    }
    addLogindMethod("PowerOff", "b", "",
                    "raise dbus.exceptions.DBusException('not allowed', "
                    "name='org.freedesktop.DBus.Error.AccessDenied')");
    EXPECT_FALSE(service.shutdown().ok());
    EXPECT_TRUE(contains(logindMock->newCalls(), "PowerOff False"));
}

}  // namespace
}  // namespace pontrel
