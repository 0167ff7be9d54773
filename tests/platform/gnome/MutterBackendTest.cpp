// The GNOME backends in a private headless mutter: text typed into a native Qt field under two
// layouts (what the layout lacks comes through the clipboard, which is the user's again
// afterwards), named keys and chords, a click landing on its pixel, the monitor off and what
// the program says of each service there.

#include <algorithm>
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "platform/InputQueue.h"
#include "platform/gnome/MutterDisplayPower.h"
#include "platform/gnome/MutterInputSink.h"
#include "support/CoreApplication.h"
#include "support/wayland/BackendTestSupport.h"
#include "support/wayland/MutterSession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;
using test::parsed;

// Types a dot until the field shows one (it has the focus then), and empties it.
bool waitForField(InputQueue& queue, const std::string& file) {
    const bool focused = test::eventually(
        [&] {
            queue.sendKeys(parsed("."));
            queue.drain();
            return test::eventually([&] { return !test::readFile(file).empty(); }, 500ms);
        },
        10s);
    queue.sendKeys(parsed("^a{DEL}"));
    queue.drain();
    return focused && test::eventually([&] { return test::readFile(file).empty(); }, 2s);
}

// Characters pasted before a control character that is left out must not be lost with it.
const std::vector<test::TypingCase> pasteCases = {
    {"x\xC5\x82\xE2\x86\x92y\xE4\xB8\xAD\x01\xF0\x9F\x98\x80 z", "xł→y中😀 z", nullptr},
};

class MutterTypingTest : public ::testing::TestWithParam<const char*> {};

TEST_P(MutterTypingTest, TextArrivesExactlyAndTheClipboardIsTheUsersAgain) {
    test::ensureCoreApplication();
    test::MutterSession session(GetParam());
    const std::string file = session.folder() + "/field.txt";
    auto field =
        session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", "wayland"}}, "field");
    MutterInputSink sink;
    ASSERT_TRUE(sink.usable()) << sink.error();
    InputQueue queue(sink);
    ASSERT_TRUE(waitForField(queue, file)) << test::readFile(field->logFile());

    test::expectTyped(queue, file, GetParam(), test::typingCases);
    test::expectTyped(queue, file, GetParam(), pasteCases);
}

INSTANTIATE_TEST_SUITE_P(Layouts, MutterTypingTest, ::testing::Values("us", "de"));

// The user's clipboard is theirs again once a text pasted characters the layout lacks: what
// another program owned comes back, and an empty one holds no pasted text.
TEST(MutterClipboardTest, TheUsersClipboardIsTheirsAgainAfterAPaste) {
    test::ensureCoreApplication();
    test::MutterSession session;
    const std::string file = session.folder() + "/field.txt";
    auto field =
        session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", "wayland"}}, "field");
    MutterInputSink sink;
    InputQueue queue(sink);
    ASSERT_TRUE(waitForField(queue, file)) << test::readFile(field->logFile());
    MutterRemoteDesktop user;
    const auto holdsNoText = [](const ClipboardContent& content) {
        return !content.empty() &&
               std::all_of(content.begin(), content.end(),
                           [](const auto& type) { return type.second.empty(); });
    };

    queue.sendKeys(parsed("\xE4\xB8\xAD"));
    queue.drain();
    EXPECT_TRUE(test::eventually([&] { return test::readFile(file) == "中"; }, 5s));
    EXPECT_TRUE(test::eventually([&] { return holdsNoText(user.readClipboard()); }, 2s));

    const ClipboardContent users = {{"text/plain;charset=utf-8", "vom Nutzer"}};
    ASSERT_TRUE(user.ownClipboard(users));
    // Mutter tells our session of the new owner before it takes further input.
    ASSERT_TRUE(waitForField(queue, file));

    queue.sendKeys(parsed("\xE4\xB8\xAD"));
    queue.drain();
    EXPECT_TRUE(test::eventually([&] { return test::readFile(file) == "中"; }, 5s));
    EXPECT_TRUE(test::eventually([&] { return user.readClipboard() == users; }, 2s));
}

TEST(MutterPointerTest, ClicksLandOnTheirPixel) {
    test::ensureCoreApplication();
    test::MutterSession session;
    const std::string clicks = session.folder() + "/clicks.txt";
    auto window =
        session.start({PONTREL_TEST_WINDOW, clicks, "#3366cc", "#cc6633", "--full-screen"},
                      {{"QT_QPA_PLATFORM", "wayland"}}, "window");
    MutterInputSink sink;
    ASSERT_TRUE(sink.usable()) << sink.error();
    InputQueue queue(sink);
    const auto endsWith = [&](const std::string& tail) {
        const std::string log = test::readFile(clicks);
        return log.size() >= tail.size() && log.substr(log.size() - tail.size()) == tail;
    };
    // Clicks before the window fills the screen land elsewhere or nowhere; one near the far
    // corner lands on the window only once it does.
    EXPECT_TRUE(test::eventually(
        [&] {
            queue.movePointer({1900, 1060});
            EXPECT_TRUE(queue.mouseEvent(2 | 4).ok());
            queue.drain();
            return test::eventually([&] { return endsWith("press 1 1900 1060\n"); }, 300ms);
        },
        10s))
        << test::readFile(clicks) << test::readFile(window->logFile());
    queue.movePointer({5000, -20});  // clamped to the top right pixel
    ASSERT_TRUE(queue.mouseEvent(8 | 16).ok());
    queue.drain();
    EXPECT_TRUE(test::eventually([&] { return endsWith("press 2 1919 0\n"); }, 2s))
        << test::readFile(clicks);
}

TEST(MutterDisplayPowerTest, TheMonitorGoesOff) {
    test::ensureCoreApplication();
    test::MutterSession session;
    const auto mode = [&] {
        return session.run(
            {"gdbus", "call", "--session", "--dest", "org.gnome.Mutter.DisplayConfig",
             "--object-path", "/org/gnome/Mutter/DisplayConfig", "--method",
             "org.freedesktop.DBus.Properties.Get", "org.gnome.Mutter.DisplayConfig",
             "PowerSaveMode"},
            "power-save-mode");
    };
    EXPECT_EQ(mode(), "(<0>,)\n");
    MutterDisplayPower power;
    ASSERT_TRUE(power.dpmsOff().ok());
    EXPECT_EQ(mode(), "(<3>,)\n");
}

TEST(MutterDiagnoseTest, TheProgramNamesTheBackendOfEveryServiceOnGnome) {
    test::MutterSession session("us", test::MutterSession::XWayland::Yes);
    auto diagnose = session.start({PONTREL_PROGRAM, "--diagnose"}, {}, "diagnose");
    ASSERT_EQ(diagnose->waitExit(20000), 0);
    // Nothing else: no warning of Qt's either.
    EXPECT_EQ(test::readFile(diagnose->logFile()),
              "Tippen, Tasten und Maus: GNOME (Fernsteuerungssitzung von Mutter; Zeichen außerhalb "
              "der Tastaturbelegung über die Zwischenablage)\n"
              "Tastenstatus und Hotkeys: X11 über XWayland (nur solange ein X11-Programm den "
              "Fokus hat)\n"
              "Mausposition (Enter bei Befehl 002 und 010): X11 über XWayland (nur über "
              "X11-Fenstern, Enter nur im Pontrel-Fenster)\n"
              "Bildschirmfoto und Pixel Veränderung: GNOME (ScreenCast über PipeWire)\n"
              "Tastatur blockieren: auf diesem Desktop nicht möglich (GNOME lässt "
              "Eingabegeräte nur mit Root-Rechten abschalten)\n"
              "Computer sperren: logind\n"
              "Monitor ausschalten: GNOME (Bildschirmkonfiguration von Mutter)\n"
              "Transparenz und im Vordergrund: X11-Fenster über XWayland\n"
              "Aufnahme: auf diesem Desktop nicht möglich (GNOME gibt Tastatur und Maus anderer "
              "Programme nur mit Root-Rechten heraus)\n");
}

}  // namespace
}  // namespace pontrel
