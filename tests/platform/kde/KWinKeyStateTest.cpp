// Hot keys through KWin's global shortcuts, pressed on a second fake-input client while a text
// field of another program has the focus.

#include "platform/kde/KWinKeyState.h"

#include <gtest/gtest.h>
#include <chrono>
#include <thread>

#include <QCoreApplication>

#include "platform/InputService.h"
#include "platform/kde/KWinInputSink.h"
#include "support/wayland/KWinSession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

constexpr int vkF5 = 0x74;

TEST(KWinKeyStateTest, APolledKeyReadsPressedOnceThenDownThenUpAndOurOwnPressesDoNotCount) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    test::KWinSession session;
    const std::string file = session.folder() + "/field.txt";
    auto field =
        session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", "wayland"}}, "field");
    KWinKeyState keys;
    ASSERT_TRUE(keys.available());
    KWinInputSink userKeyboard;  // a second keyboard: the user's
    ASSERT_TRUE(userKeyboard.usable());
    const auto key = [&](bool down) {
        if (down) {
            userKeyboard.pressKey(NamedKey::F5);
        } else {
            userKeyboard.releaseKey(NamedKey::F5);
        }
        userKeyboard.flush();
    };
    // Queries every 10 ms, as the program does, until the key reads `wanted`.
    const auto pollUntil = [&](std::uint16_t wanted) {
        return test::eventually([&] { return keys.query(vkF5) == wanted; }, 3s);
    };

    EXPECT_EQ(keys.query(vkF5), 0);
    key(true);
    EXPECT_TRUE(pollUntil(keyDownNow | keyPressedSinceLastQuery));
    EXPECT_EQ(keys.query(vkF5), keyDownNow);
    key(false);
    EXPECT_TRUE(pollUntil(0));

    keys.announceSyntheticPress(vkF5);
    key(true);
    EXPECT_TRUE(pollUntil(keyDownNow));
    key(false);
    EXPECT_TRUE(pollUntil(0));
    // The field never saw the bound key.
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(test::readFile(file + ".times"), "");
}

}  // namespace
}  // namespace pontrel
