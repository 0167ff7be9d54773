#include <gtest/gtest.h>

#include <memory>

#include "platform/qt/QtPictureWriter.h"
#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11KeyState.h"
#include "platform/x11/X11ScreenService.h"
#include "support/display/XvfbServer.h"

namespace pontrel {
namespace {

constexpr int vkA = 0x41;

// A server that goes away ends none of the services that had a connection to it, and each
// ends cleanly afterwards.
TEST(X11LostServerTest, KeyStateInputBlockAndScreenOutliveTheirServer) {
    auto server = std::make_unique<test::XvfbServer>(640, 480);
    X11KeyState keys;
    X11InputBlocker blocker;
    QtPictureWriter pictures;
    X11ScreenService screen(pictures);
    ASSERT_TRUE(keys.available());
    ASSERT_TRUE(blocker.setBlocked(true).ok());
    ASSERT_FALSE(screen.capture(0, 0, 8, 8).empty());

    server.reset();
    EXPECT_EQ(keys.query(vkA), 0);
    EXPECT_TRUE(screen.capture(0, 0, 8, 8).empty());
    EXPECT_EQ(screen.screenSize().width, 0);
    (void)blocker.setBlocked(false);
}

}  // namespace
}  // namespace pontrel
