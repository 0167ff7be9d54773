#include "platform/x11/X11KeyState.h"

#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "platform/InputService.h"
#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11TestClient.h"
#include "support/display/XvfbServer.h"

#include <X11/keysym.h>

namespace pontrel {
namespace {

constexpr int vkEnter = 0x0D;
constexpr int vkPause = 0x13;
constexpr int vkEscape = 0x1B;
constexpr int vkA = 0x41;
constexpr int vkF1 = 0x70;
constexpr int vkF5 = 0x74;
constexpr int vkF6 = 0x75;
constexpr int vkF7 = 0x76;
constexpr int vkF8 = 0x77;
constexpr int vkF9 = 0x78;
constexpr int vkF12 = 0x7B;
constexpr int vkF13 = 0x7C;
constexpr std::uint16_t downAndPressed = 0x8001;

class X11KeyStateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<test::XvfbServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    // The first non-zero state within a second: the listener thread needs a moment to see
    // what the server sent.
    static std::uint16_t firstNonZero(X11KeyState& keys, int virtualKey) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < end) {
            if (const std::uint16_t state = keys.query(virtualKey); state != 0) {
                return state;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return 0;
    }

    // Returns once the listener has handled everything sent so far: events reach it in order,
    // so a tap of a sentinel key sent last marks the end. Only the fresh-press bit proves it:
    // the previous barrier's release may still be on its way and read as down.
    void barrier(X11KeyState& keys) {
        client_.xtestTap(client_.keycode(XK_Pause));
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while ((keys.query(vkPause) & keyPressedSinceLastQuery) == 0) {
            ASSERT_LT(std::chrono::steady_clock::now(), end) << "the listener saw nothing";
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    static bool becomesZero(X11KeyState& keys, int virtualKey) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < end) {
            if (keys.query(virtualKey) == 0) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    static std::unique_ptr<test::XvfbServer> server_;
    test::X11TestClient client_;
};

std::unique_ptr<test::XvfbServer> X11KeyStateTest::server_;

TEST_F(X11KeyStateTest, KeyHeldByAnotherClientReadsPressedOnceThenDownThenUp) {
    X11KeyState keys;
    ASSERT_TRUE(keys.available());
    const unsigned f6 = client_.keycode(XK_F6);

    client_.xtestKey(f6, true);
    EXPECT_EQ(firstNonZero(keys, vkF6), downAndPressed);
    EXPECT_EQ(keys.query(vkF6), keyDownNow);
    EXPECT_EQ(keys.query(vkF6), keyDownNow);

    client_.xtestKey(f6, false);
    EXPECT_TRUE(becomesZero(keys, vkF6));
    barrier(keys);
    EXPECT_EQ(keys.query(vkF6), 0);
}

TEST_F(X11KeyStateTest, TapOfAFewMillisecondsBetweenTwoQueriesReadsPressed) {
    X11KeyState keys;
    const unsigned f1 = client_.keycode(XK_F1);

    client_.xtestKey(f1, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    client_.xtestKey(f1, false);
    barrier(keys);

    EXPECT_EQ(keys.query(vkF1), keyPressedSinceLastQuery);
    EXPECT_EQ(keys.query(vkF1), 0);
}

TEST_F(X11KeyStateTest, TheChangeListenerHearsEveryPressAndReleaseUntilItIsEmptied) {
    X11KeyState keys;
    std::atomic<int> changes = 0;
    keys.setChangeListener([&changes] { ++changes; });
    const unsigned f7 = client_.keycode(XK_F7);

    client_.xtestTap(f7);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (changes < 2 && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(changes, 2);

    keys.setChangeListener({});
    client_.xtestTap(f7);
    barrier(keys);
    EXPECT_EQ(changes, 2);
}

TEST_F(X11KeyStateTest, VirtualKeysFollowTheKeymap) {
    struct Case {
        int virtualKey;
        unsigned keycode;
    };
    const Case cases[] = {
        {vkEscape, client_.keycode(XK_Escape)},
        {vkEnter, client_.keycode(XK_Return)},
        {vkEnter, client_.keycode(XK_KP_Enter)},
        {vkF1, client_.keycode(XK_F1)},
        {vkF12, client_.keycode(XK_F12)},
        {vkF13, 191},  // evdev binds this key to XF86Tools, not to the keysym F13
        {vkA, client_.keycode(XK_a)},
    };
    X11KeyState keys;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keycode);
        ASSERT_NE(c.keycode, 0U);
        client_.xtestTap(c.keycode);
        barrier(keys);
        for (int other : {vkEscape, vkEnter, vkF1, vkF12, vkF13, vkA}) {
            EXPECT_EQ(keys.query(other), other == c.virtualKey ? keyPressedSinceLastQuery : 0)
                << "virtual key " << other;
        }
    }
}

TEST_F(X11KeyStateTest, AnnouncedPressOfOurOwnTypingDoesNotCount) {
    X11KeyState keys;
    const unsigned f1 = client_.keycode(XK_F1);

    keys.announceSyntheticPress(f1);
    client_.xtestTap(f1);
    barrier(keys);
    EXPECT_EQ(keys.query(vkF1), 0);

    // Only that one press: the user's next press counts again.
    client_.xtestTap(f1);
    barrier(keys);
    EXPECT_EQ(keys.query(vkF1), keyPressedSinceLastQuery);
}

TEST_F(X11KeyStateTest, AnnouncementThatNeverMetItsPressExpires) {
    X11KeyState keys;
    const unsigned escape = client_.keycode(XK_Escape);

    keys.announceSyntheticPress(escape);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    client_.xtestTap(escape);
    barrier(keys);
    EXPECT_EQ(keys.query(vkEscape), keyPressedSinceLastQuery);
}

TEST_F(X11KeyStateTest, KeyHeldBeforeTheStartReadsDownButNotPressed) {
    const unsigned f8 = client_.keycode(XK_F8);
    client_.xtestKey(f8, true);

    X11KeyState keys;
    EXPECT_EQ(keys.query(vkF8), keyDownNow);

    client_.xtestKey(f8, false);
    EXPECT_TRUE(becomesZero(keys, vkF8));
}

TEST_F(X11KeyStateTest, XdotoolPressesCount) {
    if (std::system("command -v xdotool >/dev/null") != 0) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    X11KeyState keys;
    ASSERT_EQ(std::system("xdotool keydown F7"), 0);
    EXPECT_EQ(firstNonZero(keys, vkF7), downAndPressed);
    ASSERT_EQ(std::system("xdotool keyup F7"), 0);
    EXPECT_TRUE(becomesZero(keys, vkF7));
}

TEST_F(X11KeyStateTest, KeycodeRemappedWhileRunningIsReadWithTheNewMeaning) {
    X11KeyState keys;
    Display* display = client_.display();
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    const auto spare = static_cast<unsigned>(minKeycode);  // keycode 8 carries no symbol
    KeySym f9[] = {XK_F9};
    XChangeKeyboardMapping(display, static_cast<int>(spare), 1, f9, 1);
    XSync(display, False);
    barrier(keys);

    client_.xtestTap(spare);
    barrier(keys);
    EXPECT_EQ(keys.query(vkF9), keyPressedSinceLastQuery);

    KeySym none[] = {NoSymbol};
    XChangeKeyboardMapping(display, static_cast<int>(spare), 1, none, 1);
    XSync(display, False);
}

// The stop key must work while the user's input is blocked: the blocked keyboard is detached
// from its master and its keys reach only listeners of the slave itself.
TEST_F(X11KeyStateTest, KeysOfABlockedKeyboardStillCount) {
    X11KeyState keys;
    X11InputBlocker blocker;
    ASSERT_TRUE(blocker.setBlocked(true).ok());

    client_.deviceTap(client_.keycode(XK_F5));
    barrier(keys);
    EXPECT_EQ(keys.query(vkF5), keyPressedSinceLastQuery);

    EXPECT_TRUE(blocker.setBlocked(false).ok());
}

}  // namespace
}  // namespace pontrel
