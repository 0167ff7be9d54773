// Two monitors side by side in a private headless mutter (1024x768, then 800x600 to its right)
// with a native window filling the second: a screenshot spans both, a watched pixel on the
// second sees the window repaint, clicks land on their pixel there or on the nearest monitor,
// and still do, as does a watch, once the monitors have swapped places.

#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/InputQueue.h"
#include "platform/gnome/GnomeScreenCapture.h"
#include "platform/gnome/MutterInputSink.h"
#include "platform/qt/QtPictureWriter.h"
#include "support/CoreApplication.h"
#include "support/wayland/MutterSession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t firstColour = 0x3366CC;
constexpr std::uint32_t secondColour = 0xCC6633;
constexpr int layoutWidth = 1024 + 800;
constexpr int layoutHeight = 768;
constexpr char second[] = "Meta-1";

class MutterMonitorsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::ensureCoreApplication();
        session_ =
            std::make_unique<test::MutterSession>("us", test::MutterSession::XWayland::No,
                                                  std::vector<std::string>{"1024x768", "800x600"});
        clicks_ = session_->folder() + "/clicks.txt";
        window_ = session_->start({PONTREL_TEST_WINDOW, clicks_, "#3366cc", "#cc6633",
                                   std::string("--full-screen=") + second},
                                  {{"QT_QPA_PLATFORM", "wayland"}}, "window");
        sink_ = std::make_unique<MutterInputSink>();
        queue_ = std::make_unique<InputQueue>(*sink_);
        screen_ = std::make_unique<GnomeScreenCapture>(
            writer_, [](const std::string& line) { log_.push_back(line); });
    }
    static void TearDownTestSuite() {
        screen_.reset();
        queue_.reset();
        sink_.reset();
        window_.reset();
        session_.reset();
    }

    static std::uint32_t pixel(int x, int y) {
        const Bitmap block = screen_->capture(x, y, 1, 1);
        return block.empty() ? 0xFFFFFFFFU : block.pixel(0, 0);
    }

    // The first column of the window's row 40 (a watched area: its stream outlives captures).
    static int windowLeft() {
        const Bitmap row = screen_->capture(0, 40, layoutWidth, 1);
        int left = 0;
        while (left < row.width && row.pixel(left, 0) != secondColour) {
            ++left;
        }
        return left;
    }

    // Clicks at the desktop point until the window reports a press at `expected`.
    static bool clickLands(ScreenPoint point, const std::string& expected) {
        return test::eventually(
            [&] {
                queue_->movePointer(point);
                EXPECT_TRUE(queue_->mouseEvent(2 | 4).ok());
                queue_->drain();
                return test::eventually(
                    [&] {
                        const std::string log = test::readFile(clicks_);
                        return log.size() >= expected.size() &&
                               log.compare(log.size() - expected.size(), expected.size(),
                                           expected) == 0;
                    },
                    300ms);
            },
            10s);
    }

    static inline std::unique_ptr<test::MutterSession> session_;
    static inline std::unique_ptr<test::SessionProcess> window_;
    static inline std::string clicks_;
    static inline std::unique_ptr<MutterInputSink> sink_;
    static inline std::unique_ptr<InputQueue> queue_;
    static inline QtPictureWriter writer_;
    static inline std::vector<std::string> log_;
    static inline std::unique_ptr<GnomeScreenCapture> screen_;
};

// Runs first: the window still has its first colour.
TEST_F(MutterMonitorsTest, AScreenshotSpansBothMonitorsAndAPixelWatchWorksOnTheSecond) {
    ASSERT_TRUE(screen_->usable());
    EXPECT_EQ(screen_->screenSize().width, layoutWidth);
    EXPECT_EQ(screen_->screenSize().height, layoutHeight);
    Bitmap full;
    ASSERT_TRUE(test::eventually(
        [&] {
            full = screen_->capture(0, 0, layoutWidth, layoutHeight);
            return !full.empty() && full.pixel(1024, 0) == firstColour &&
                   full.pixel(layoutWidth - 1, 599) == firstColour;
        },
        20s))
        << test::readFile(window_->logFile());
    log_.clear();  // what went wrong while PipeWire came up

    EXPECT_NE(full.pixel(1023, 0), firstColour);  // the first monitor's desktop
    EXPECT_EQ(full.pixel(1500, 600), 0U);         // below the second monitor: no monitor

    EXPECT_EQ(pixel(1500, 300), firstColour);
    std::ofstream{clicks_ + ".turn"};
    EXPECT_TRUE(test::eventually([&] { return pixel(1500, 300) == secondColour; }, 5s));
    EXPECT_TRUE(log_.empty()) << log_.front();
}

struct ClickCase {
    ScreenPoint point;
    const char* press;  // what the window on the second monitor reports
};

TEST_F(MutterMonitorsTest, ClicksReachTheSecondMonitorAlsoAfterTheMonitorsSwapPlaces) {
    ASSERT_TRUE(sink_->usable()) << sink_->error();
    const ClickCase cases[] = {
        {{1034, 20}, "press 1 10 20\n"},
        {{layoutWidth - 1, 599}, "press 1 799 599\n"},
        {{1500, 700}, "press 1 476 599\n"},  // below the second monitor: up onto it
        {{5000, -20}, "press 1 799 0\n"},
    };
    for (const ClickCase& c : cases) {
        EXPECT_TRUE(clickLands(c.point, c.press))
            << c.press << test::readFile(clicks_) << test::readFile(window_->logFile());
    }
    // A watch of the window's row from before the monitors change must not stand still after.
    ASSERT_TRUE(test::eventually([] { return windowLeft() == 1024; }, 20s));
    log_.clear();

    // The second monitor left of the first.
    const std::string state =
        session_->run({"gdbus", "call", "--session", "--dest", "org.gnome.Mutter.DisplayConfig",
                       "--object-path", "/org/gnome/Mutter/DisplayConfig", "--method",
                       "org.gnome.Mutter.DisplayConfig.GetCurrentState"},
                      "display-state");
    std::smatch serial;
    ASSERT_TRUE(std::regex_search(state, serial, std::regex("^\\(uint32 ([0-9]+)"))) << state;
    session_->run({"gdbus", "call", "--session", "--dest", "org.gnome.Mutter.DisplayConfig",
                   "--object-path", "/org/gnome/Mutter/DisplayConfig", "--method",
                   "org.gnome.Mutter.DisplayConfig.ApplyMonitorsConfig", serial[1], "1",
                   "[(0, 0, 1.0, uint32 0, false, [('Meta-1', '800x600@60.000', @a{sv} {})]),"
                   " (800, 0, 1.0, uint32 0, true, [('Meta-0', '1024x768@60.000', @a{sv} {})])]",
                   "@a{sv} {}"},
                  "swap-monitors");
    // Mutter moves the window along with its monitor or keeps it where it was on the desktop.
    int left = -1;
    ASSERT_TRUE(test::eventually(
        [&] {
            left = windowLeft();
            return left == 0 || left == 800;
        },
        5s))
        << left;
    EXPECT_TRUE(clickLands({left + 30, 40}, "press 1 30 40\n")) << test::readFile(clicks_);
    EXPECT_TRUE(log_.empty()) << log_.front();
}

}  // namespace
}  // namespace pontrel
