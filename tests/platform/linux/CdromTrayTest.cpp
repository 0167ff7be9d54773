#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "platform/linux/CdromTray.h"

namespace pontrel {
namespace {

// Records the device calls; errors are set per device or per call.
class FakeCdromIo : public CdromIo {
public:
    int open(const std::string& device) override {
        log.push_back("open " + device);
        if (const auto error = openErrors.find(device); error != openErrors.end()) {
            return -error->second;
        }
        devices[nextFd] = device;
        return nextFd++;
    }
    int lockDoor(int fd, bool locked) override {
        log.push_back(std::string(locked ? "lock " : "unlock ") + devices.at(fd));
        return lockError;
    }
    int eject(int fd) override {
        log.push_back("eject " + devices.at(fd));
        return ejectError;
    }
    int closeTray(int fd) override {
        log.push_back("close tray " + devices.at(fd));
        return closeTrayError;
    }
    void close(int fd) override {
        log.push_back("close " + devices.at(fd));
        devices.erase(fd);
    }

    std::vector<std::string> log;
    std::map<int, std::string> devices;
    std::map<std::string, int> openErrors;
    int lockError = 0;
    int ejectError = 0;
    int closeTrayError = 0;
    int nextFd = 3;
};

class CdromTrayTest : public testing::Test {
protected:
    // Sends the commands in order; "ok" or "fail" per command.
    std::vector<std::string> send(const std::vector<std::string>& commands) {
        std::vector<std::string> results;
        for (const auto& command : commands) {
            std::string answer = "stale";
            results.push_back(tray.send(command, &answer).ok() ? "ok" : "fail");
            EXPECT_EQ(answer, "") << command;
        }
        return results;
    }

    FakeCdromIo io;
    CdromTray tray{io};
};

TEST_F(CdromTrayTest, OpenAndCloseTheTrayInTheOrderOfTheThreeStrings) {
    EXPECT_EQ(send({"Open /dev/sr1 Type cdaudio Alias cd", "set cd door open", "close cd",
                    "Open /dev/sr1 Type cdaudio Alias cd", "set cd door closed", "close cd"}),
              (std::vector<std::string>{"ok", "ok", "ok", "ok", "ok", "ok"}));
    EXPECT_EQ(io.log, (std::vector<std::string>{"open /dev/sr1", "unlock /dev/sr1",
                                                "eject /dev/sr1", "close /dev/sr1", "open /dev/sr1",
                                                "close tray /dev/sr1", "close /dev/sr1"}));
    EXPECT_TRUE(io.devices.empty());
}

TEST_F(CdromTrayTest, DriveErrorsAreFailuresAndTheDeviceIsStillClosed) {
    io.openErrors["/dev/sr9"] = ENOENT;
    EXPECT_EQ(send({"Open /dev/sr9 Type cdaudio Alias cd", "set cd door open", "close cd"}),
              (std::vector<std::string>{"fail", "fail", "fail"}));
    EXPECT_EQ(io.log, std::vector<std::string>{"open /dev/sr9"});

    io.log.clear();
    io.ejectError = -EBUSY;
    io.lockError = -ENOSYS;  // a drive without a lock: the eject decides
    io.closeTrayError = -ENOSYS;
    EXPECT_EQ(send({"Open /dev/sr0 Type cdaudio Alias cd", "set cd door open", "set cd door closed",
                    "close cd"}),
              (std::vector<std::string>{"ok", "fail", "fail", "ok"}));
    EXPECT_TRUE(io.devices.empty());
}

TEST_F(CdromTrayTest, CommandsOutOfOrderOrUnknownAreFailures) {
    EXPECT_EQ(
        send({"set cd door open", "close cd", "Open /dev/sr0 Type cdaudio Alias cd",
              "Open /dev/sr1 Type cdaudio Alias cd", "set other door open", "set cd door ajar",
              "play cd", "Open /dev/sr0 Type", "Open /dev/sr0 Shareable x", ""}),
        (std::vector<std::string>{"fail", "fail", "ok", "fail", "fail", "fail", "fail", "fail",
                                  "fail", "fail"}));
    // The second open of the alias did not replace the first device.
    EXPECT_EQ(send({"SET CD DOOR OPEN"}), std::vector<std::string>{"ok"});
    EXPECT_EQ(io.log.back(), "eject /dev/sr0");
}

TEST_F(CdromTrayTest, TheAliasDefaultsToTheDeviceAndOpenDevicesAreClosedAtTheEnd) {
    {
        CdromTray other(io);
        EXPECT_TRUE(other.send("open /dev/sr0", nullptr).ok());
        EXPECT_TRUE(other.send("set /dev/sr0 door closed", nullptr).ok());
    }
    EXPECT_EQ(io.log,
              (std::vector<std::string>{"open /dev/sr0", "close tray /dev/sr0", "close /dev/sr0"}));
}

}  // namespace
}  // namespace pontrel
