// The input block against a stand-in for sway's IPC socket that records the commands it gets.

#include "platform/wayland/SwayInputBlocker.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pontrel {
namespace {

using namespace std::chrono_literals;

const std::string disabled =
    "input type:keyboard events disabled; input type:pointer events disabled; input "
    "type:touchpad events disabled";
const std::string enabled =
    "input type:keyboard events enabled; input type:pointer events enabled; input "
    "type:touchpad events enabled";

// Listens before any thread runs, so that a test may fork first; answers every command with
// success once serve() runs.
class FakeSway {
public:
    FakeSway() {
        char folder[] = "/tmp/pontrel-fake-sway-XXXXXX";
        folder_ = mkdtemp(folder);
        path_ = folder_ + "/ipc.sock";
        listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
        if (bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 8) != 0) {
            throw std::runtime_error("cannot listen");
        }
    }
    ~FakeSway() {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        if (server_.joinable()) {
            server_.join();
        }
        std::filesystem::remove_all(folder_);
    }

    const std::string& path() const { return path_; }
    void serve() {
        server_ = std::thread([this] {
            for (int client; (client = accept(listener_, nullptr, nullptr)) >= 0;) {
                answer(client);
                close(client);
            }
        });
    }
    std::vector<std::string> commands() {
        const std::lock_guard lock(mutex_);
        return commands_;
    }
    bool waitForCommands(std::size_t count) {
        for (int i = 0; i < 300 && commands().size() < count; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return commands().size() >= count;
    }

private:
    void answer(int client) {
        char header[14];
        while (recv(client, header, sizeof header, MSG_WAITALL) == sizeof header) {
            std::uint32_t length = 0;
            std::memcpy(&length, header + 6, sizeof length);
            std::string payload(length, '\0');
            if (recv(client, payload.data(), length, MSG_WAITALL) != static_cast<ssize_t>(length)) {
                return;
            }
            {
                const std::lock_guard lock(mutex_);
                commands_.push_back(payload);
            }
            const std::string body = R"([{"success":true},{"success":true},{"success":true}])";
            std::string reply(header, 6);
            const auto size = static_cast<std::uint32_t>(body.size());
            reply.append(reinterpret_cast<const char*>(&size), sizeof size);
            reply.append(header + 10, 4);
            reply += body;
            (void)send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        }
    }

    std::string folder_;
    std::string path_;
    int listener_ = -1;
    std::thread server_;
    std::mutex mutex_;
    std::vector<std::string> commands_;
};

TEST(SwayInputBlockerTest, BlockAndReleaseSwitchEveryDeviceTypeAndTheWatchdogStaysQuiet) {
    FakeSway sway;
    sway.serve();
    {
        SwayInputBlocker blocker(sway.path());
        ASSERT_TRUE(blocker.setBlocked(true).ok());
        ASSERT_TRUE(blocker.setBlocked(false).ok());
        ASSERT_TRUE(blocker.setBlocked(true).ok());
    }  // the end of the blocker releases
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(sway.commands(), (std::vector<std::string>{disabled, enabled, disabled, enabled}));
}

// The kill goes to the program's whole process group, as a closed terminal's does: the watchdog
// must have left it before the block begins.
TEST(SwayInputBlockerTest, AProgramKilledDuringABlockHasTheDevicesEnabledByItsWatchdog) {
    FakeSway sway;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t program = fork();
    if (program == 0) {
        setpgid(0, 0);
        SwayInputBlocker blocker(sway.path());
        const char word = blocker.setBlocked(true).ok() ? 'y' : 'n';
        (void)write(ready[1], &word, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    sway.serve();
    char word = 0;
    ASSERT_EQ(read(ready[0], &word, 1), 1);
    EXPECT_EQ(word, 'y');
    kill(-program, SIGKILL);
    waitpid(program, nullptr, 0);
    EXPECT_TRUE(sway.waitForCommands(2));
    EXPECT_EQ(sway.commands(), (std::vector<std::string>{disabled, enabled}));
}

TEST(SwayInputBlockerTest, WithoutSwayTheBlockFails) {
    SwayInputBlocker blocker("/nonexistent/sway-ipc.sock");
    EXPECT_FALSE(blocker.setBlocked(true).ok());
}

}  // namespace
}  // namespace pontrel
