// The KDE Plasma backends in a private kwin_wayland: text typed into a native Qt field under two
// layouts (what the layout lacks through a paste, the user's clipboard kept), a click landing on
// its pixel, screen captures of a native window and of its repaint, the monitor off and the
// input block.

#include <gtest/gtest.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/InputQueue.h"
#include "platform/InputService.h"
#include "platform/kde/KWinDisplayPower.h"
#include "platform/kde/KWinInputBlocker.h"
#include "platform/kde/KWinInputSink.h"
#include "platform/kde/KWinScreenCapture.h"
#include "platform/wayland/DataControlClipboard.h"
#include "support/wayland/BackendTestSupport.h"
#include "support/wayland/KWinSession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

using test::parsed;

class KWinTypingTest : public ::testing::TestWithParam<const char*> {};

TEST_P(KWinTypingTest, TextArrivesExactlyAndTheClipboardIsKept) {
    const std::string layout = GetParam();
    test::KWinSession session(layout);
    DataControlClipboard userClipboard;
    ASSERT_TRUE(userClipboard.offerText("vorher"));
    const std::string file = session.folder() + "/field.txt";
    auto field =
        session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", "wayland"}}, "field");
    KWinInputSink sink;
    ASSERT_TRUE(sink.usable());
    InputQueue queue(sink);
    // No client may ask KWin which window has the focus: the field has it once a key typed and
    // taken back has changed it.
    ASSERT_TRUE(test::eventually(
        [&] {
            queue.sendKeys(parsed("x{BS}"));
            queue.drain();
            return test::eventually([&] { return !test::readFile(file + ".times").empty(); },
                                    200ms);
        },
        10s));
    ASSERT_TRUE(test::eventually([&] { return test::readFile(file).empty(); }, 5s));
    test::expectTyped(queue, file, layout, test::typingCases);
    // The clipboard the user had is back after every text: a paste of our own shows it.
    test::expectTyped(queue, file, layout, {{"^v", "vorher", nullptr}});
    // A Qt field answers every key with the whole line it is on; a long line typed at full speed
    // made it send more than KWin took from it, and it lost its connection.
    std::string line;
    while (line.size() < 2000) {
        line += "Tastatur und Maus 0123456789 ";
    }
    test::expectTyped(queue, file, layout, {{line.c_str(), line.c_str(), nullptr}});

    // With nobody to read a paste the text ends there, said plainly, and nothing after it is
    // typed.
    field->kill(SIGKILL);
    EXPECT_THROW(sink.typeCharacters(U"🙂x", [] { return false; }), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Layouts, KWinTypingTest, ::testing::Values("us", "de"));

constexpr std::uint32_t firstColour = 0x3366CC;
constexpr std::uint32_t secondColour = 0xCC6633;

// The first pixel of the colour, row by row; {-1, -1} when there is none.
ScreenPoint find(const Bitmap& picture, std::uint32_t colour) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.pixel(x, y) == colour) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

TEST(KWinScreenTest,
     ClickLandsOnItsPixelCapturesSeeTheWindowAndItsRepaintAndMonitorOffAndInputBlockAreTold) {
    test::KWinSession session;
    const std::string clicks = session.folder() + "/clicks.txt";
    auto window = session.start({PONTREL_TEST_WINDOW, clicks, "#3366cc", "#cc6633"},
                                {{"QT_QPA_PLATFORM", "wayland"}}, "window");
    test::NoPictureWriter writer;
    KWinScreenCapture screen(writer);
    ASSERT_TRUE(screen.usable());
    EXPECT_EQ(screen.screenSize().width, 1920);
    EXPECT_EQ(screen.screenSize().height, 1080);

    ScreenPoint corner{-1, -1};
    ASSERT_TRUE(test::eventually(
        [&] {
            corner = find(screen.capture(0, 0, 1920, 1080), firstColour);
            return corner.x >= 0;
        },
        30s))
        << test::readFile(window->logFile());
    // Outside the screen is black, inside the window its colour.
    const Bitmap edge = screen.capture(corner.x - 1920, corner.y, 1921, 1);
    ASSERT_EQ(edge.width, 1921);
    EXPECT_EQ(edge.pixel(0, 0), 0U);
    EXPECT_EQ(edge.pixel(1920, 0), firstColour);

    KWinInputSink sink;
    InputQueue queue(sink);
    const ScreenPoint target{corner.x + 20, corner.y + 10};
    queue.movePointer(target);
    ASSERT_TRUE(queue.mouseEvent(mouseLeftDown | mouseLeftUp).ok());
    queue.drain();
    EXPECT_TRUE(test::eventually([&] { return test::readFile(clicks) == "press 1 20 10\n"; }, 5s))
        << test::readFile(clicks);
    // The pixel watch sees the repaint.
    EXPECT_TRUE(test::eventually(
        [&] {
            const Bitmap pixel = screen.capture(target.x, target.y, 1, 1);
            return !pixel.empty() && pixel.pixel(0, 0) == secondColour;
        },
        5s));

    // KWin's virtual monitor has no power states: the monitor off fails rather than claim it
    // worked.
    KWinDisplayPower power;
    EXPECT_EQ(power.dpmsOff().ok(), power.hasDpms());
    // Nor does it read input devices: nothing to block, and the block says so.
    KWinInputBlocker blocker;
    const Status block = blocker.setBlocked(true);
    EXPECT_FALSE(block.ok());
    EXPECT_NE(block.message().find("input devices"), std::string::npos) << block.message();
}

// KWin's own authorisation: the desktop file of the package allows the program it names, and the
// diagnosis of a program it does not name says how to install one.
TEST(KWinDiagnoseTest, TheDesktopFileOfThePackageAllowsInputAndScreenshots) {
    test::KWinSession session("us", test::KWinSession::Permissions::Checked,
                              test::readFile(PONTREL_DESKTOP_FILE), {PONTREL_PROGRAM});
    const std::string elsewhere = session.folder() + "/Pontrel";
    std::filesystem::copy_file(PONTREL_PROGRAM, elsewhere);

    auto allowed = session.start({PONTREL_PROGRAM, "--diagnose"}, {}, "allowed");
    auto other = session.start({elsewhere, "--diagnose"}, {}, "other");
    ASSERT_EQ(allowed->waitExit(20000), 0);
    ASSERT_EQ(other->waitExit(20000), 0);
    const std::string allowedSays = test::readFile(allowed->logFile());
    EXPECT_NE(allowedSays.find("Tippen, Tasten und Maus: KWin (Fake-Input"), std::string::npos)
        << allowedSays;
    EXPECT_NE(allowedSays.find("Bildschirmfoto und Pixel Veränderung: KWin (ScreenShot2)"),
              std::string::npos)
        << allowedSays;
    EXPECT_NE(allowedSays.find("Tastenstatus und Hotkeys: KWin (globale Kurzbefehle"),
              std::string::npos)
        << allowedSays;
    EXPECT_EQ(allowedSays.find("Desktop-Datei"), std::string::npos) << allowedSays;
    // The virtual KWin reads no input devices: it has none to switch off.
    EXPECT_NE(allowedSays.find("Tastatur blockieren: auf diesem Desktop nicht möglich"),
              std::string::npos)
        << allowedSays;

    const std::string otherSays = test::readFile(other->logFile());
    EXPECT_NE(otherSays.find("Tippen, Tasten und Maus: auf diesem Desktop nicht möglich"),
              std::string::npos)
        << otherSays;
    EXPECT_NE(otherSays.find("es fehlt eine Desktop-Datei"), std::string::npos) << otherSays;
    EXPECT_NE(otherSays.find("  Exec=" + elsewhere + "\n"), std::string::npos) << otherSays;
    EXPECT_NE(otherSays.find("X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input"), std::string::npos)
        << otherSays;
}

}  // namespace
}  // namespace pontrel
