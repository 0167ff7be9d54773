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

// A keyboard and a touchpad that are on, a keyboard with a switch (as a laptop's extra buttons
// are), and a mouse the user has switched off.
const char* const devices =
    R"({"devices": {)"
    R"("event0": {"keyboard": true, "enabled": true},)"
    R"("event1": {"pointer": true, "touchpad": true, "enabled": true},)"
    R"("event2": {"keyboard": true, "switchDevice": true, "enabled": true},)"
    R"("event3": {"pointer": true, "enabled": false}}})";
const DeviceStates before{{"event0", true}, {"event1", true}, {"event2", true}, {"event3", false}};
const DeviceStates blocked{
    {"event0", false}, {"event1", false}, {"event2", true}, {"event3", false}};

// What dbus-send prints for the call; empty when it fails. Through dbus-send, so that this
// process keeps no bus connection of its own and may fork programs that make theirs.
std::string busCall(const std::string& path, const std::string& interface,
                    const std::string& property) {
    const std::string command = "dbus-send --session --print-reply=literal --dest=org.kde.KWin " +
                                path + " org.freedesktop.DBus.Properties.Get string:" + interface +
                                " string:" + property + " 2>/dev/null";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    return pipe != nullptr && pclose(pipe) == 0 ? output : std::string();
}

DeviceStates states() {
    DeviceStates result;
    for (const auto& [name, enabled] : before) {
        result[name] =
            busCall("/org/kde/KWin/InputDevice/" + name, "org.kde.KWin.InputDevice", "enabled")
                .find("boolean true") != std::string::npos;
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

TEST(KWinInputBlockerTest, BlockSwitchesOffTheUsersKeyboardsAndPointersAndEveryEndRestoresThem) {
    test::PrivateBus bus;
    ASSERT_FALSE(bus.address().empty());
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.address().c_str(), 1);
    const test::ChildProcess kwin({"/usr/bin/python3", "-m", "dbusmock", "--session", "--template",
                                   PONTREL_FAKE_KWIN_DEVICES, "--parameters", devices});
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

}  // namespace
}  // namespace pontrel
