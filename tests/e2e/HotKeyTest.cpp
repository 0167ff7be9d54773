#include "e2e/E2eTest.h"

namespace pontrel::e2e {
namespace {

class HotKeyTest : public E2eTest {};

TEST_F(HotKeyTest, StartKeyStartsTheLoadedMacroAndStopKeyStopsItDuringAWait) {
    const Point first{101, 102};
    const Point afterWait{303, 304};
    // The default file, loaded at start-up because of its start digit 1.
    writeMacro(desktop, "pontrel.qmc",
               {"code:|000|wait:|10|loop:|0|start:|F2|stop:|F3|", moveRecord(first),
                waitRecord(4000), moveRecord(afterWait)},
               '1');
    PontrelApp app(desktop, pontrelProgram);
    ASSERT_NE(app.window(), 0U) << app.log();
    runTool({"xdotool", "mousemove", "--sync", "900", "900"});
    pause(300);
    ASSERT_EQ(desktop.pointer(), (Point{900, 900})) << "something ran before the start key";

    const auto started = [&] { return desktop.pointer() == first; };
    ASSERT_TRUE(desktop.pressKeyUntil("F2", started, 2000))
        << "the start key did not start the macro: pointer at " << pointText(desktop.pointer());

    desktop.pressKey("F3", 300);
    pause(5000);
    EXPECT_EQ(desktop.pointer(), first)
        << "the command after the wait ran although the stop key was pressed during the wait";

    // Stopped, the program watches the start key again.
    runTool({"xdotool", "mousemove", "--sync", "900", "900"});
    EXPECT_TRUE(desktop.pressKeyUntil("F2", started, 2000))
        << "the start key did nothing after the stop: pointer at " << pointText(desktop.pointer());
}

}  // namespace
}  // namespace pontrel::e2e
