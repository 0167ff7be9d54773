// "Pontrel --hotkey start|stop", as a desktop shortcut runs it, reaching a running program.

#include "platform/qt/HotkeyChannel.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/CoreApplication.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

class HotkeyChannelTest : public testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureCoreApplication(); }
    // A runtime folder of our own: the socket lives there.
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pontrel-hotkey-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        runtime_ = pattern;
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(runtime_);
    }

    // Runs the program with the arguments while this program's events are handled; its exit
    // code.
    static int runProgram(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv{PONTREL_PROGRAM};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char*> pointers;
        for (std::string& argument : argv) {
            pointers.push_back(argument.data());
        }
        pointers.push_back(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            execv(pointers[0], pointers.data());
            _exit(127);
        }
        int status = 0;
        const auto end = std::chrono::steady_clock::now() + 10s;
        while (waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                return -1;
            }
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(5ms);
        }
        QCoreApplication::processEvents();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string runtime_;
};

TEST_F(HotkeyChannelTest, CommandsReachTheRunningProgramOnly) {
    {
        std::vector<HotkeyCommand> taken;
        const HotkeyServer server([&taken](HotkeyCommand command) { taken.push_back(command); });
        ASSERT_TRUE(server.listening());
        EXPECT_EQ(runProgram({"--hotkey", "start"}), 0);
        EXPECT_EQ(runProgram({"--hotkey", "stop"}), 0);
        EXPECT_EQ(runProgram({"--hotkey", "jetzt"}), 2);
        EXPECT_EQ(taken, (std::vector<HotkeyCommand>{HotkeyCommand::Start, HotkeyCommand::Stop}));

        // A second program leaves the commands to the first.
        const HotkeyServer second([](HotkeyCommand) { FAIL() << "taken by the second program"; });
        EXPECT_FALSE(second.listening());
        EXPECT_EQ(runProgram({"--hotkey", "start"}), 0);
    }
    // No program runs: the command fails, and a socket left behind does not stop the next
    // program from listening.
    EXPECT_EQ(runProgram({"--hotkey", "start"}), 1);
    const HotkeyServer next([](HotkeyCommand) {});
    EXPECT_TRUE(next.listening());
    // Without a runtime folder of the user's there is no socket.
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(runProgram({"--hotkey", "stop"}), 1);
}

}  // namespace
}  // namespace pontrel
