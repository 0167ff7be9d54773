#include "platform/x11/X11InputBlocker.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <memory>

#include "platform/x11/X11TestClient.h"
#include "support/display/XvfbServer.h"

#include <X11/keysym.h>

namespace pontrel {
namespace {

using Keys = std::vector<unsigned>;

class X11InputBlockerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<test::XvfbServer>(); }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        client_ = std::make_unique<test::X11TestClient>();
        client_->openReceiver();
        a_ = client_->keycode(XK_a);
        b_ = client_->keycode(XK_b);
    }

    // Whether a key of the user's keyboard reaches the focused window.
    bool userKeyArrives() {
        client_->deviceTap(a_);
        return client_->receivedPresses() == Keys{a_};
    }

    bool userMotionMovesPointer() {
        int x0 = 0;
        int y0 = 0;
        int x1 = 0;
        int y1 = 0;
        client_->pointer(x0, y0);
        client_->deviceMove(x0 < 500 ? 10 : -10, 0);
        test::settle();
        client_->pointer(x1, y1);
        return x1 != x0;
    }

    static std::unique_ptr<test::XvfbServer> server_;
    std::unique_ptr<test::X11TestClient> client_;
    unsigned a_ = 0;
    unsigned b_ = 0;
};

std::unique_ptr<test::XvfbServer> X11InputBlockerTest::server_;

TEST_F(X11InputBlockerTest, BlockedUserInputReachesNobodyWhileXTestInputDoes) {
    X11InputBlocker blocker;
    ASSERT_TRUE(userKeyArrives());
    ASSERT_TRUE(userMotionMovesPointer());

    ASSERT_TRUE(blocker.setBlocked(true).ok());
    EXPECT_FALSE(userKeyArrives());
    EXPECT_FALSE(userMotionMovesPointer());

    client_->xtestTap(b_);
    EXPECT_EQ(client_->receivedPresses(), Keys{b_});
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    client_->pointer(x0, y0);
    client_->xtestMove(0, 7);
    client_->pointer(x1, y1);
    EXPECT_EQ(y1, y0 + 7);

    ASSERT_TRUE(blocker.setBlocked(false).ok());
    EXPECT_TRUE(userKeyArrives());
    EXPECT_TRUE(userMotionMovesPointer());
}

TEST_F(X11InputBlockerTest, BlockingTwiceAndReleasingWhenNothingIsBlockedSucceed) {
    X11InputBlocker blocker;
    EXPECT_TRUE(blocker.setBlocked(false).ok());
    EXPECT_TRUE(blocker.setBlocked(true).ok());
    EXPECT_TRUE(blocker.setBlocked(true).ok());
    EXPECT_FALSE(userKeyArrives());
    EXPECT_TRUE(blocker.setBlocked(false).ok());
    EXPECT_TRUE(userKeyArrives());
}

TEST_F(X11InputBlockerTest, DestructorReleasesTheBlock) {
    {
        X11InputBlocker blocker;
        ASSERT_TRUE(blocker.setBlocked(true).ok());
        EXPECT_FALSE(userKeyArrives());
    }
    EXPECT_TRUE(userKeyArrives());
}

TEST_F(X11InputBlockerTest, CtrlAltDelOnTheBlockedKeyboardReleasesTheBlockUnseen) {
    const unsigned control = client_->keycode(XK_Control_L);
    const unsigned alt = client_->keycode(XK_Alt_L);
    for (const KeySym del : {XK_Delete, XK_KP_Delete}) {
        SCOPED_TRACE(del);
        X11InputBlocker blocker;
        ASSERT_TRUE(blocker.setBlocked(true).ok());

        const unsigned chord[] = {control, alt, client_->keycode(del)};
        for (unsigned key : chord) {
            client_->deviceKey(key, true);
        }
        for (unsigned key : chord) {
            client_->deviceKey(key, false);
        }
        EXPECT_EQ(client_->receivedPresses(), Keys{});
        EXPECT_TRUE(userKeyArrives());
        EXPECT_TRUE(blocker.setBlocked(false).ok());
    }
}

TEST_F(X11InputBlockerTest, DeleteWithoutCtrlAltKeepsTheBlock) {
    X11InputBlocker blocker;
    ASSERT_TRUE(blocker.setBlocked(true).ok());
    const unsigned control = client_->keycode(XK_Control_L);
    client_->deviceKey(control, true);
    client_->deviceTap(client_->keycode(XK_Delete));
    client_->deviceKey(control, false);
    EXPECT_FALSE(userKeyArrives());
}

// A key held across the start or end of the block would stay down on the master (its
// release went nowhere) and turn the next typed 'a' into 'A'. Keys pressed through XTest
// belong to a typing program and stay as they are.
TEST_F(X11InputBlockerTest, UserKeysHeldAcrossTheBlockAreReleased) {
    const unsigned shift = client_->keycode(XK_Shift_L);
    const unsigned control = client_->keycode(XK_Control_R);
    X11InputBlocker blocker;

    client_->deviceKey(shift, true);
    client_->xtestKey(control, true);
    ASSERT_TRUE(client_->keyDown(shift));
    ASSERT_TRUE(blocker.setBlocked(true).ok());
    EXPECT_FALSE(client_->keyDown(shift));
    EXPECT_TRUE(client_->keyDown(control));
    client_->deviceKey(shift, false);
    client_->xtestKey(control, false);

    client_->xtestKey(shift, true);
    client_->deviceKey(shift, true);  // pressed during the block: reaches nobody
    ASSERT_TRUE(blocker.setBlocked(false).ok());
    EXPECT_TRUE(client_->keyDown(shift));  // still held by XTest
    client_->xtestKey(shift, false);
    client_->deviceKey(shift, false);
    EXPECT_FALSE(client_->keyDown(shift));
}

// Re-enabling a device looks like a new device to the server: it has to be grabbed again.
TEST_F(X11InputBlockerTest, KeyboardThatComesBackIsBlockedToo) {
    X11InputBlocker blocker;
    ASSERT_TRUE(blocker.setBlocked(true).ok());
    const int keyboard = client_->deviceId("Xvfb keyboard");
    client_->setDeviceEnabled(keyboard, false);
    client_->setDeviceEnabled(keyboard, true);
    test::settle(300);
    EXPECT_FALSE(userKeyArrives());
    ASSERT_TRUE(blocker.setBlocked(false).ok());
    EXPECT_TRUE(userKeyArrives());
}

// The server drops the grabs with the blocking connection: a killed program cannot leave the
// desktop locked.
TEST_F(X11InputBlockerTest, KilledBlockingProcessLeavesTheDesktopUsable) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        X11InputBlocker blocker;
        const char ok = blocker.setBlocked(true).ok() ? 1 : 0;
        if (write(ready[1], &ok, 1) != 1) {
            _exit(1);
        }
        for (;;) {
            pause();
        }
    }
    close(ready[1]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    close(ready[0]);
    ASSERT_EQ(ok, 1);
    EXPECT_FALSE(userKeyArrives());

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    test::settle(100);
    EXPECT_TRUE(userKeyArrives());
    EXPECT_TRUE(userMotionMovesPointer());
}

}  // namespace
}  // namespace pontrel
