#include "platform/x11/X11Recorder.h"

#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11/X11TestClient.h"
#include "support/RecordedInputText.h"
#include "support/display/XvfbServer.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace pontrel {
namespace {

TEST(X11RecorderTest, KeysAreReadWithTheirLevelDeadKeysComposedAndClicksWithTheirPoint) {
    const test::XvfbServer server;
    ASSERT_EQ(std::system("setxkbmap de"), 0);
    test::X11TestClient client;
    X11Recorder recorder;
    ASSERT_EQ(recorder.unavailableReason(), "");
    ASSERT_TRUE(recorder.startRecording().ok());

    const auto tap = [&](KeySym sym) { client.xtestTap(client.keycode(sym)); };
    const auto chord = [&](KeySym modifier, KeySym sym) {
        client.xtestKey(client.keycode(modifier), true);
        tap(sym);
        client.xtestKey(client.keycode(modifier), false);
    };
    tap(XK_dead_acute);
    tap(XK_e);
    chord(XK_Shift_L, XK_a);
    chord(XK_ISO_Level3_Shift, XK_q);
    chord(XK_ISO_Level3_Shift, XK_e);
    chord(XK_Control_L, XK_c);
    chord(XK_Shift_L, XK_Tab);
    tap(XK_Return);
    tap(XK_F5);
    tap(XK_Caps_Lock);
    tap(XK_Caps_Lock);
    XWarpPointer(client.display(), None, DefaultRootWindow(client.display()), 0, 0, 0, 0, 321, 123);
    XTestFakeButtonEvent(client.display(), 3, True, CurrentTime);
    XTestFakeButtonEvent(client.display(), 3, False, CurrentTime);
    XTestFakeButtonEvent(client.display(), 4, True, CurrentTime);  // the wheel
    XTestFakeButtonEvent(client.display(), 4, False, CurrentTime);
    XSync(client.display(), False);

    const std::vector<std::string> expected{"char é",    "char A",      "char @",
                                            "char €",    "char ctrl+c", "key shift+TAB",
                                            "key ENTER", "key F5",      "click 2 at 321,123"};
    std::vector<std::string> seen;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (seen.size() < expected.size() && std::chrono::steady_clock::now() < end) {
        for (const RecordedInput& input : recorder.takeRecorded()) {
            seen.push_back(test::describe(input));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    test::settle();
    for (const RecordedInput& input : recorder.takeRecorded()) {
        seen.push_back(test::describe(input));
    }
    EXPECT_EQ(seen, expected);

    recorder.stopRecording();
    tap(XK_x);
    test::settle();
    EXPECT_TRUE(recorder.takeRecorded().empty()) << "stopped, nothing is watched";
}

}  // namespace
}  // namespace pontrel
