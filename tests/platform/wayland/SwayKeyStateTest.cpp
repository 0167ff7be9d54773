// Hot keys through sway's bindings, pressed on a second virtual keyboard while a text field of
// another program has the focus.

#include "platform/wayland/SwayKeyState.h"

#include <gtest/gtest.h>
#include <chrono>
#include <string>
#include <thread>

#include "platform/InputService.h"
#include "platform/wayland/WlrInputSink.h"
#include "support/wayland/SwaySession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

constexpr int vkF5 = 0x74;
constexpr int vkQ = 'Q';

class SwayKeyStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        field_ =
            session_.start({PONTREL_QT_RECEIVER, file_}, {{"QT_QPA_PLATFORM", "wayland"}}, "field");
        ASSERT_TRUE(session_.waitForFocus(field_->pid()));
        ASSERT_TRUE(keys_.available());
        ASSERT_TRUE(userKeyboard_.usable());
    }

    void press(NamedKey key) {
        userKeyboard_.pressKey(key);
        userKeyboard_.flush();
    }
    void release(NamedKey key) {
        userKeyboard_.releaseKey(key);
        userKeyboard_.flush();
    }
    void typeQ() {
        userKeyboard_.typeCharacters(U"q", [] { return false; });
        userKeyboard_.flush();
    }
    // Queries every 10 ms, as the program does, until the bits of `mask` read `wanted`.
    bool pollUntil(int virtualKey, std::uint16_t wanted, std::chrono::milliseconds timeout = 2s,
                   std::uint16_t mask = 0xFFFF) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if ((keys_.query(virtualKey) & mask) == wanted) {
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    test::SwaySession session_;
    std::string file_ = session_.folder() + "/field.txt";
    std::unique_ptr<test::SessionProcess> field_;
    SwayKeyState keys_{session_.swaySocket()};
    WlrInputSink userKeyboard_{nullptr};  // a second keyboard: the user's
};

TEST_F(SwayKeyStateTest, APolledKeyReadsPressedOnceThenDownThenUp) {
    EXPECT_EQ(keys_.query(vkF5), 0);
    press(NamedKey::F5);
    EXPECT_TRUE(pollUntil(vkF5, keyDownNow | keyPressedSinceLastQuery));
    EXPECT_EQ(keys_.query(vkF5), keyDownNow);
    release(NamedKey::F5);
    EXPECT_TRUE(pollUntil(vkF5, 0));

    // Our own typing announces its presses: they do not count.
    keys_.announceSyntheticPress(vkF5);
    press(NamedKey::F5);
    EXPECT_TRUE(pollUntil(vkF5, keyDownNow));
    release(NamedKey::F5);
    EXPECT_TRUE(pollUntil(vkF5, 0));
}

TEST_F(SwayKeyStateTest, AKeyIsTakenFromOtherProgramsOnlyWhilePolled) {
    EXPECT_EQ(keys_.query(vkQ), 0);
    typeQ();
    EXPECT_TRUE(pollUntil(vkQ, keyPressedSinceLastQuery, 2s, keyPressedSinceLastQuery));
    std::this_thread::sleep_for(1500ms);  // no queries: the key goes back to the field
    typeQ();
    EXPECT_TRUE(test::eventually([&] { return test::readFile(file_) == "q"; }, 2s))
        << test::readFile(file_);
}

TEST_F(SwayKeyStateTest, KeysAreBoundAgainAfterSwayReloadsItsConfiguration) {
    EXPECT_EQ(keys_.query(vkF5), 0);
    session_.swaymsg({"reload"});
    // The program polls on; a loaded machine may take a moment to reload.
    EXPECT_FALSE(pollUntil(vkF5, keyPressedSinceLastQuery, 1s, keyPressedSinceLastQuery));
    press(NamedKey::F5);
    release(NamedKey::F5);
    EXPECT_TRUE(pollUntil(vkF5, keyPressedSinceLastQuery, 2s, keyPressedSinceLastQuery));
}

}  // namespace
}  // namespace pontrel
