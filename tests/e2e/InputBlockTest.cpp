#include <X11/keysym.h>

#include "e2e/E2eTest.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::e2e {
namespace {

class InputBlockTest : public E2eTest {};

TEST_F(InputBlockTest, InputDisableBlocksThePhysicalKeyboardUntilInputEnable) {
    XlibReceiver receiver(Rect{700, 300, 400, 200}, 0xFFFFFF);
    PontrelApp app =
        playMacro({basicSettings(50), waitRecord(focusTimeMs), pcRecord("input-disable"),
                   textRecord("a"), waitRecord(3000), pcRecord("input-enable"), textRecord("b")});
    ASSERT_NE(app.window(), 0U) << app.log();
    ASSERT_TRUE(desktop.focus(receiver.window()));
    desktop.physicalKeyTap(XK_w);
    ASSERT_TRUE(waitUntil([&] { return receiver.text() == "w"; }, 2000))
        << "the stand-in keyboard does not type before the block: " << receiver.text();

    ASSERT_TRUE(waitUntil([&] { return receiver.text() == "wa"; }, focusTimeMs + 5000))
        << "the macro's own typing did not arrive during the block: " << receiver.text();
    desktop.physicalKeyTap(XK_x);
    ASSERT_TRUE(waitUntil([&] { return receiver.text().size() >= 3; }, 8000));
    EXPECT_EQ(receiver.text(), "wab") << "a key of the blocked keyboard came through";

    desktop.physicalKeyTap(XK_y);
    EXPECT_TRUE(waitUntil([&] { return receiver.text() == "waby"; }, 2000))
        << "the keyboard is still blocked after input-enable: " << receiver.text();
}

}  // namespace
}  // namespace pontrel::e2e
