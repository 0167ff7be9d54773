// The built program in a private headless sway, driven from outside: a hot key pressed on
// another keyboard while another program has the focus, an input block outliving the program
// by no more than the program itself, a monitor switched off that the next input wakes, a pixel
// watch and BMP and JPEG screenshots of a native window, and the window without XWayland.

#include <gtest/gtest.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <QImage>
#include <QString>

#include "model/MacroFile.h"
#include "platform/InputQueue.h"
#include "platform/wayland/WlrInputSink.h"
#include "support/wayland/SwaySession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

// The default macro of the session's folder, loaded when the program starts there.
void writeDefaultMacro(const test::SwaySession& session, const std::vector<std::string>& records) {
    std::string bytes = encodeMacroFile(records);
    bytes[5] = '1';
    std::ofstream(session.folder() + "/pontrel.qmc", std::ios::binary) << bytes;
}

TEST(WaylandProgramTest, TheStartKeyOnAnotherKeyboardTypesTheMacroIntoTheFocusedNativeField) {
    test::SwaySession session("de");
    writeDefaultMacro(session, {"code:|000|wait:|10|loop:|0|start:|F2|stop:|ESC|",
                                "code:|004|text:|\xC3\xA4\xC3\xB6\xE2\x82\xAC@{{}{}}{ENTER}x|"});
    auto program = session.start({PONTREL_PROGRAM}, {}, "pontrel");
    ASSERT_TRUE(session.waitForFocus(program->pid())) << test::readFile(program->logFile());
    EXPECT_NE(test::readFile(program->logFile())
                  .find("Wayland-Sitzung: Tippen, Tasten und Maus: wlroots (virtuelle Tastatur "
                        "und Maus)\n"),
              std::string::npos)
        << test::readFile(program->logFile());
    const std::string file = session.folder() + "/field.txt";
    auto field =
        session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", "wayland"}}, "field");
    ASSERT_TRUE(session.waitForFocus(field->pid()));

    WlrInputSink userKeyboard(nullptr);
    const auto typed = [&] { return test::readFile(file) == "äö€@{}\nx"; };
    for (int attempt = 0; attempt < 3 && !typed(); ++attempt) {
        userKeyboard.pressKey(NamedKey::F2);
        userKeyboard.flush();
        std::this_thread::sleep_for(100ms);
        userKeyboard.releaseKey(NamedKey::F2);
        userKeyboard.flush();
        test::eventually(typed, 3s);
    }
    EXPECT_TRUE(typed()) << "field has \"" << test::readFile(file) << "\"; "
                         << test::readFile(program->logFile());
}

TEST(WaylandProgramTest, AnInputBlockEndsWhenTheProgramIsKilled) {
    test::SwaySession session("us", test::SwaySession::LogCommands::Yes);
    writeDefaultMacro(session, {"code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|",
                                "code:|007|pc:|input-disable|", "code:|001|wait:|60000|"});
    auto program = session.start({PONTREL_PROGRAM, "pontrel.qmc"}, {}, "pontrel");
    const auto swayLog = [&] { return test::readFile(session.folder() + "/sway.log"); };
    ASSERT_TRUE(test::eventually(
        [&] { return swayLog().find("input type:keyboard events disabled") != std::string::npos; },
        10s))
        << test::readFile(program->logFile());
    EXPECT_EQ(swayLog().find("input type:keyboard events enabled"), std::string::npos);
    program->kill(SIGKILL);
    EXPECT_TRUE(test::eventually(
        [&] { return swayLog().find("input type:keyboard events enabled") != std::string::npos; },
        5s));
}

TEST(WaylandProgramTest, APixelWatchSeesANativeRepaintAndTheScreenshotsShowIt) {
    test::SwaySession session;
    auto window =
        session.start({PONTREL_TEST_WINDOW, session.folder() + "/clicks.txt", "#3366cc", "#cc6633"},
                      {{"QT_QPA_PLATFORM", "wayland"}}, "window");
    ASSERT_TRUE(session.waitForFocus(window->pid()));
    // A corner the window fills and the program's own (floating) window leaves free.
    writeDefaultMacro(session, {"code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|",
                                "code:|010|xpos:|40|ypos:|40|break:|0|",
                                "code:|009|pfad:|bild.bmp|", "code:|009|pfad:|bild.jpg <90%>|"});
    auto program = session.start({PONTREL_PROGRAM, "pontrel.qmc"}, {}, "pontrel");
    const auto shotFile = [&](const char* name) {
        return QString::fromStdString(session.folder() + "/" + name);
    };
    // The watch must have begun before the window changes: it compares with its first look.
    ASSERT_TRUE(session.waitForFocus(program->pid())) << test::readFile(program->logFile());
    std::this_thread::sleep_for(1s);
    ASSERT_FALSE(QImage(shotFile("bild.bmp")).width() > 0) << "the watch ended unchanged";

    // The window turns to its second colour on a click; a new virtual pointer's first events
    // may be lost on a headless seat.
    WlrInputSink pointer(nullptr);
    InputQueue queue(pointer);
    const auto watchEnded = [&] { return QImage(shotFile("bild.bmp")).width() > 0; };
    for (int attempt = 0; attempt < 3 && !watchEnded(); ++attempt) {
        queue.movePointer({300, 300});  // away from the watched pixel: the pointer shows
        ASSERT_TRUE(queue.mouseEvent(2 | 4).ok());
        queue.drain();
        test::eventually(watchEnded, 3s);
    }
    for (const char* name : {"bild.bmp", "bild.jpg"}) {
        SCOPED_TRACE(name);
        QImage shot;
        ASSERT_TRUE(test::eventually([&] { return shot.load(shotFile(name)); }, 10s))
            << test::readFile(program->logFile());
        EXPECT_EQ(shot.size(), QSize(1920, 1080));
        const QColor pixel = shot.pixelColor(40, 40);
        EXPECT_NEAR(pixel.red(), 0xCC, 4);
        EXPECT_NEAR(pixel.green(), 0x66, 4);
        EXPECT_NEAR(pixel.blue(), 0x33, 4);
    }
}

TEST(WaylandProgramTest, WithoutXWaylandTheWindowIsANativeOneWithoutWindowEffects) {
    test::SwaySession session("us", test::SwaySession::LogCommands::No,
                              test::SwaySession::XWayland::Disabled);
    auto program = session.start({PONTREL_PROGRAM}, {}, "pontrel");
    ASSERT_TRUE(session.waitForFocus(program->pid())) << test::readFile(program->logFile());
    const std::string tree = session.swaymsg({"-t", "get_tree"});
    EXPECT_NE(tree.find("\"shell\": \"xdg_shell\""), std::string::npos) << tree;
    EXPECT_NE(test::readFile(program->logFile())
                  .find("Transparenz und im Vordergrund: auf diesem Desktop nicht möglich\n"),
              std::string::npos)
        << test::readFile(program->logFile());
}

TEST(WaylandProgramTest, AMonitorSwitchedOffComesBackWithTheNextInputAfterTheProgramEnded) {
    test::SwaySession session("us", test::SwaySession::LogCommands::Yes);
    writeDefaultMacro(session, {"code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|",
                                "code:|007|pc:|screenoff|", "code:|001|wait:|60000|"});
    // A headless output cannot really go dark (sway fails to commit it), so sway's log of the
    // power state asked for is what shows: "dpms 2" off, "dpms 1" on.
    const auto asked = [&](const char* state) {
        return test::readFile(session.folder() + "/sway.log")
                   .find(std::string("(dpms ") + state + ")") != std::string::npos;
    };
    const auto outputPowered = [&] { return asked("1"); };
    auto program = session.start({PONTREL_PROGRAM, "pontrel.qmc"}, {}, "pontrel");
    ASSERT_TRUE(test::eventually([&] { return asked("2"); }, 10s))
        << test::readFile(program->logFile());
    program->kill(SIGKILL);
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(outputPowered());

    WlrInputSink userKeyboard(nullptr);
    for (int attempt = 0; attempt < 3 && !outputPowered(); ++attempt) {
        userKeyboard.pressKey(NamedKey::Shift);
        userKeyboard.flush();
        userKeyboard.releaseKey(NamedKey::Shift);
        userKeyboard.flush();
        test::eventually(outputPowered, 2s);
    }
    EXPECT_TRUE(outputPowered());
}

}  // namespace
}  // namespace pontrel
