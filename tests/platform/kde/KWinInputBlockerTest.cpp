// The input block on KDE Plasma against a stand-in for KWin's input devices on a private bus:
// which devices go off, and that exactly those come on again however the block ends.

#include "platform/kde/KWinInputBlocker.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "platform/linux/PrivateBus.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

using DeviceStates = std::map<std::string, bool>;  // sysfs name: enabled

// A keyboard and a touchpad, a keyboard with a switch (as a laptop's extra buttons are), and a
// mouse the user has switched off.
const std::map<std::string, std::string> kinds{
    {"event0", R"("keyboard": true)"},
    {"event1", R"("pointer": true, "touchpad": true)"},
    {"event2", R"("keyboard": true, "switchDevice": true)"},
    {"event3", R"("pointer": true)"}};
const DeviceStates before{{"event0", true}, {"event1", true}, {"event2", true}, {"event3", false}};
const DeviceStates blocked{
    {"event0", false}, {"event1", false}, {"event2", true}, {"event3", false}};

// A stand-in KWin with the devices in the states given.
std::unique_ptr<test::ChildProcess> startKWin(const DeviceStates& states) {
    std::string devices;
    for (const auto& [name, enabled] : states) {
        devices += std::string(devices.empty() ? "" : ", ") + "\"" + name + "\": {" +
                   kinds.at(name) + ", \"enabled\": " + (enabled ? "true" : "false") + "}";
    }
    return std::make_unique<test::ChildProcess>(std::vector<std::string>{
        "/usr/bin/python3", "-m", "dbusmock", "--session", "--template", PONTREL_FAKE_KWIN_DEVICES,
        "--parameters", "{\"devices\": {" + devices + "}}"});
}

// Asked through dbus-send, so that this process keeps no bus connection of its own and may fork
// programs that make theirs.
bool switchedOn(const std::string& device) {
    const std::string command =
        "dbus-send --session --print-reply=literal --dest=org.kde.KWin "
        "/org/kde/KWin/InputDevice/" +
        device +
        " org.freedesktop.DBus.Properties.Get string:org.kde.KWin.InputDevice string:enabled "
        "2>/dev/null";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    return pipe != nullptr && pclose(pipe) == 0 && output.find("boolean true") != std::string::npos;
}

DeviceStates states() {
    DeviceStates result;
    for (const auto& entry : before) {
        result[entry.first] = switchedOn(entry.first);
    }
    return result;
}

// The states once they are as wanted, or as they are after 5 s.
DeviceStates settled(const DeviceStates& wanted) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    DeviceStates now = states();
    while (now != wanted && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(10ms);
        now = states();
    }
    return now;
}

enum class Ending { Release, Destructor, Kill };

// A program that blocks, says whether that worked, and ends the block as it is told: 'r' a
// release, 'd' the blocker's end.
class BlockingProgram {
public:
    BlockingProgram() {
        if (pipe(told_) != 0 || pipe(says_) != 0) {
            throw std::runtime_error("no pipes");
        }
        pid_ = fork();
        if (pid_ == 0) {
            {
                KWinInputBlocker blocker;
                say(blocker.setBlocked(true).ok());
                char order = 0;
                if (read(told_[0], &order, 1) == 1 && order == 'r') {
                    say(blocker.setBlocked(false).ok());
                }
            }
            say(true);
            _exit(0);
        }
    }
    ~BlockingProgram() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

    void tell(char order) { (void)write(told_[1], &order, 1); }
    bool saysYes() {
        char word = 0;
        return read(says_[0], &word, 1) == 1 && word == 'y';
    }
    void kill9() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

private:
    void say(bool yes) {
        const char word = yes ? 'y' : 'n';
        (void)write(says_[1], &word, 1);
    }

    pid_t pid_ = -1;
    int told_[2] = {-1, -1};
    int says_[2] = {-1, -1};
};

class KWinInputBlockerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(bus_.address().empty());
        setenv("DBUS_SESSION_BUS_ADDRESS", bus_.address().c_str(), 1);
    }

private:
    test::PrivateBus bus_;
};

TEST_F(KWinInputBlockerTest, BlockSwitchesOffTheUsersKeyboardsAndPointersAndEveryEndRestoresThem) {
    const auto kwin = startKWin(before);
    ASSERT_EQ(settled(before), before);

    for (const auto& [ending, name] :
         {std::pair{Ending::Release, "release"}, std::pair{Ending::Destructor, "the blocker's end"},
          std::pair{Ending::Kill, "SIGKILL"}}) {
        SCOPED_TRACE(name);
        BlockingProgram program;
        ASSERT_TRUE(program.saysYes());
        EXPECT_EQ(states(), blocked);
        if (ending == Ending::Kill) {
            program.kill9();  // its watchdog switches the devices on
        } else {
            program.tell(ending == Ending::Release ? 'r' : 'd');
            EXPECT_TRUE(program.saysYes());
        }
        EXPECT_EQ(settled(before), before);
    }
}

// KWin keeps the devices' states in its configuration: after a crash that ended us too, it
// starts again with them off.
TEST_F(KWinInputBlockerTest, TheWatchdogWaitsForKWinStartingAgain) {
    auto kwin = startKWin(before);
    ASSERT_EQ(settled(before), before);
    BlockingProgram program;
    ASSERT_TRUE(program.saysYes());
    kwin.reset();
    program.kill9();
    std::this_thread::sleep_for(1s);
    kwin = startKWin(blocked);
    EXPECT_EQ(settled(before), before);
}

}  // namespace
}  // namespace pontrel
