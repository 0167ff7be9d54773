// The wlroots backends in a private headless sway: text typed into native Wayland Qt and GTK
// fields and an XWayland Qt field under two layouts, clicks landing on their pixel, screen capture
// of a native window and of its repaint.

#include <gtest/gtest.h>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "platform/InputQueue.h"
#include "platform/wayland/SwayIpc.h"
#include "platform/wayland/WlrInputSink.h"
#include "platform/wayland/WlrScreenCapture.h"
#include "support/wayland/BackendTestSupport.h"
#include "support/wayland/SwaySession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

using test::parsed;

enum class Receiver { Native, Gtk, XWayland };

const char* receiverName(Receiver receiver) {
    switch (receiver) {
        case Receiver::Native:
            return "native";
        case Receiver::Gtk:
            return "gtk";
        case Receiver::XWayland:
            return "xwayland";
    }
    return "";
}

// A text field that writes what it holds to the file, focused.
std::unique_ptr<test::SessionProcess> startField(test::SwaySession& session, Receiver receiver,
                                                 const std::string& file) {
    auto field =
        receiver == Receiver::Gtk
            ? session.start({"/usr/bin/python3", PONTREL_GTK_RECEIVER, file},
                            {{"GDK_BACKEND", "wayland"}, {"NO_AT_BRIDGE", "1"}}, "field")
            : session.start({PONTREL_QT_RECEIVER, file},
                            {{"QT_QPA_PLATFORM", receiver == Receiver::Native ? "wayland" : "xcb"}},
                            "field");
    EXPECT_TRUE(session.waitForFocus(field->pid())) << test::readFile(field->logFile());
    return field;
}

class WlrTypingTest : public ::testing::TestWithParam<std::tuple<const char*, Receiver>> {};

TEST_P(WlrTypingTest, TextArrivesExactly) {
    const auto [layoutName, receiver] = GetParam();
    const std::string layout = layoutName;
    test::SwaySession session(layout);
    const std::string file = session.folder() + "/field.txt";
    auto field = startField(session, receiver, file);
    ASSERT_FALSE(HasFailure());

    SwayIpc focus(session.swaySocket());
    WlrInputSink sink(&focus);
    ASSERT_TRUE(sink.usable());
    InputQueue queue(sink);
    test::expectTyped(queue, file, layout, test::typingCases);
}

// A mixed German text of 1000 characters: exact, and how fast (into the Qt fields).
class WlrThousandCharactersTest : public WlrTypingTest {};

TEST_P(WlrThousandCharactersTest, ThousandCharactersOfGermanText) {
    const auto [layoutName, receiver] = GetParam();
    test::SwaySession session(layoutName);
    const std::string file = session.folder() + "/field.txt";
    auto field = startField(session, receiver, file);
    ASSERT_FALSE(HasFailure());
    // Named, not a structured binding: the check's lambda takes it.
    const auto [text, expectedText] = test::germanText(1000);
    const std::string& expected = expectedText;
    SwayIpc focus(session.swaySocket());
    WlrInputSink sink(&focus);
    InputQueue queue(sink);
    const auto start = std::chrono::steady_clock::now();
    queue.sendKeys(text);
    queue.drain();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(test::eventually([&] { return test::readFile(file) == expected; }, 10s));
    std::printf("[ measure  ] layout %s, %s field: 1000 characters sent in %.3f s = %.0f chars/s\n",
                layoutName, receiverName(receiver), seconds, 1000 / seconds);
}

std::string layoutAndReceiver(
    const ::testing::TestParamInfo<std::tuple<const char*, Receiver>>& param) {
    return std::string(std::get<0>(param.param)) + "_" + receiverName(std::get<1>(param.param));
}

INSTANTIATE_TEST_SUITE_P(Layouts, WlrTypingTest,
                         ::testing::Combine(::testing::Values("us", "de"),
                                            ::testing::Values(Receiver::Native, Receiver::Gtk,
                                                              Receiver::XWayland)),
                         layoutAndReceiver);
INSTANTIATE_TEST_SUITE_P(Layouts, WlrThousandCharactersTest,
                         ::testing::Combine(::testing::Values("us", "de"),
                                            ::testing::Values(Receiver::Native,
                                                              Receiver::XWayland)),
                         layoutAndReceiver);

TEST(WlrKeyboardTest, OnASeatWithoutKeyboardTheDefaultLayoutIsUsed) {
    test::SwaySession session("");
    const std::string file = session.folder() + "/field.txt";
    auto field =
        session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", "wayland"}}, "field");
    ASSERT_TRUE(session.waitForFocus(field->pid()));
    WlrInputSink sink(nullptr);
    ASSERT_TRUE(sink.usable());
    // The field asks for the seat's first keyboard only now; on a loaded machine that takes a
    // while, and keys before it are lost.
    std::this_thread::sleep_for(1s);
    InputQueue queue(sink);
    queue.sendKeys(parsed("a\xC3\xA4\xE2\x82\xAC+b"));
    queue.drain();
    EXPECT_TRUE(test::eventually([&] { return test::readFile(file) == "aä€B"; }, 5s))
        << test::readFile(file);
}

constexpr std::uint32_t firstColour = 0x3366CC;
constexpr std::uint32_t secondColour = 0xCC6633;

class WlrScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = session_.start({PONTREL_TEST_WINDOW, clicks_, "#3366cc", "#cc6633"},
                                 {{"QT_QPA_PLATFORM", "wayland"}}, "window");
        ASSERT_TRUE(session_.waitForFocus(window_->pid())) << test::readFile(window_->logFile());
    }

    std::uint32_t pixelAt(int x, int y) {
        const Bitmap pixel = screen_.capture(x, y, 1, 1);
        return pixel.empty() ? 0xFFFFFFFF : pixel.pixel(0, 0);
    }

    test::SwaySession session_;
    std::string clicks_ = session_.folder() + "/clicks.txt";
    std::unique_ptr<test::SessionProcess> window_;
    test::NoPictureWriter writer_;
    WlrScreenCapture screen_{writer_};
};

TEST_F(WlrScreenTest, ACaptureShowsTheWindowAndBlackBesideTheScreen) {
    ASSERT_TRUE(screen_.usable());
    EXPECT_EQ(screen_.screenSize().width, 1920);
    EXPECT_EQ(screen_.screenSize().height, 1080);
    // The window fills the screen once sway has tiled it and it has painted again.
    ASSERT_TRUE(test::eventually(
        [&] { return pixelAt(0, 0) == firstColour && pixelAt(1919, 1079) == firstColour; }, 5s));

    const Bitmap full = screen_.capture(0, 0, 1920, 1080);
    ASSERT_EQ(full.width, 1920);
    ASSERT_EQ(full.height, 1080);
    EXPECT_EQ(full.pixel(0, 0), firstColour);
    EXPECT_EQ(full.pixel(1919, 1079), firstColour);

    // Half off the left edge and half off the bottom.
    const Bitmap edge = screen_.capture(-10, 1075, 20, 10);
    ASSERT_EQ(edge.width, 20);
    ASSERT_EQ(edge.height, 10);
    EXPECT_EQ(edge.pixel(0, 0), 0U);
    EXPECT_EQ(edge.pixel(10, 0), firstColour);
    EXPECT_EQ(edge.pixel(19, 4), firstColour);
    EXPECT_EQ(edge.pixel(19, 5), 0U);
    EXPECT_TRUE(screen_.capture(5000, 5000, 3, 3).pixels == std::vector<std::uint32_t>(9, 0U));
    EXPECT_TRUE(screen_.capture(0, 0, 0, 5).empty());
}

TEST_F(WlrScreenTest, ClicksLandOnTheirPixelAndTheRepaintIsSeen) {
    SwayIpc focus(session_.swaySocket());
    WlrInputSink sink(&focus);
    ASSERT_TRUE(sink.usable());
    ASSERT_TRUE(test::eventually([&] { return pixelAt(700, 800) == firstColour; }, 5s));
    {
        InputQueue queue(sink);
        queue.movePointer({700, 800});
        ASSERT_TRUE(queue.mouseEvent(2 | 4).ok());
        queue.movePointer({5000, -20});  // clamped to the top right pixel
        ASSERT_TRUE(queue.mouseEvent(8 | 16).ok());
        queue.drain();
    }
    EXPECT_TRUE(test::eventually([&] { return pixelAt(700, 800) == secondColour; }, 2s));
    EXPECT_TRUE(test::eventually(
        [&] { return test::readFile(clicks_) == "press 1 700 800\npress 2 1919 0\n"; }, 2s))
        << test::readFile(clicks_);
}

TEST(WlrDiagnoseTest, TheProgramNamesTheBackendOfEveryServiceOnSway) {
    test::SwaySession session;
    auto diagnose = session.start({PONTREL_PROGRAM, "--diagnose"}, {}, "diagnose");
    ASSERT_EQ(diagnose->waitExit(20000), 0);
    EXPECT_EQ(test::readFile(diagnose->logFile()),
              "Tippen, Tasten und Maus: wlroots (virtuelle Tastatur und Maus)\n"
              "Tastenstatus und Hotkeys: sway (Tastenbelegung, solange die Taste abgefragt "
              "wird)\n"
              "Mausposition (Enter bei Befehl 002 und 010): X11 über XWayland (nur über "
              "X11-Fenstern, Enter nur im Pontrel-Fenster)\n"
              "Bildschirmfoto und Pixel Veränderung: wlroots (screencopy)\n"
              "Tastatur blockieren: sway (Eingabegeräte abschalten, mit Wächterprozess)\n"
              "Computer sperren: logind\n"
              "Monitor ausschalten: wlroots (Bildschirme aus, die nächste Eingabe schaltet sie "
              "an)\n"
              "Transparenz und im Vordergrund: X11-Fenster über XWayland\n"
              "Aufnahme: auf diesem Desktop nicht möglich\n");
}

}  // namespace
}  // namespace pontrel
