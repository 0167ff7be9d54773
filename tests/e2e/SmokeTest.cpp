#include "e2e/E2eTest.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::e2e {
namespace {

class SmokeTest : public E2eTest {};

TEST_F(SmokeTest, PlaysAShortMacroAndEndsByItsEndCommand) {
    XlibReceiver receiver(Rect{700, 300, 400, 200}, 0xFFFFFF);
    const Point target{123, 45};
    PontrelApp app = playMacro({basicSettings(50), waitRecord(focusTimeMs), moveRecord(target),
                                textRecord("ok!"), waitRecord(500), pcRecord("end")});
    ASSERT_NE(app.window(30000), 0U) << app.log();
    ASSERT_TRUE(desktop.focus(receiver.window()));

    const std::optional<int> code = app.process().waitExit(30000);
    ASSERT_TRUE(code.has_value()) << "the \"end\" command did not end the program";
    EXPECT_EQ(*code, 0) << app.log();
    EXPECT_EQ(receiver.text(), "ok!");
    EXPECT_EQ(desktop.pointer(), target);
}

}  // namespace
}  // namespace pontrel::e2e
