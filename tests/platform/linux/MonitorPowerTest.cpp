#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/UnavailableDisplayPower.h"
#include "platform/linux/MonitorPower.h"

namespace pontrel {
namespace {

class FakeDisplayPower : public DisplayPower {
public:
    bool hasDpms() override { return dpms; }
    Status dpmsOff() override {
        log.push_back("dpms off");
        return dpmsWorks ? Status::success() : Status::failure("refused");
    }
    Status activateScreenSaver() override {
        log.push_back("screen saver");
        return Status::success();
    }

    bool dpms = true;
    bool dpmsWorks = true;
    std::vector<std::string> log;
};

TEST(MonitorPowerTest, UsesDpmsWhereThereIsOneAndTheScreenSaverOtherwise) {
    const struct {
        bool dpms;
        bool dpmsWorks;
        std::vector<std::string> log;
    } cases[] = {
        {true, true, {"dpms off"}},
        {false, true, {"screen saver"}},
        {true, false, {"dpms off", "screen saver"}},
    };
    for (const auto& c : cases) {
        FakeDisplayPower display;
        display.dpms = c.dpms;
        display.dpmsWorks = c.dpmsWorks;
        EXPECT_TRUE(MonitorPower(display, std::chrono::milliseconds(0)).switchOff().ok());
        EXPECT_EQ(display.log, c.log);
    }
}

TEST(MonitorPowerTest, ADesktopWithoutMonitorPowerReportsAFailure) {
    UnavailableDisplayPower display;
    EXPECT_FALSE(MonitorPower(display, std::chrono::milliseconds(0)).switchOff().ok());
}

TEST(MonitorPowerTest, WaitsForTheTriggeringInputToSettleFirst) {
    FakeDisplayPower display;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(MonitorPower(display, std::chrono::milliseconds(50)).switchOff().ok());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

}  // namespace
}  // namespace pontrel
