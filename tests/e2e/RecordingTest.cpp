#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

// Before Xlib, whose None macro would hide a name of it.
#include "model/MacroFile.h"

#include "e2e/E2eTest.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::e2e {
namespace {

constexpr int baseWait = 100;
constexpr Rect receiverPlace{1250, 300, 600, 400};
constexpr const char* typedText = "Grüße aus Köln\n@€";
constexpr const char* recordedText = "Grüße aus Köln{ENTER}@€";
constexpr const char* typingDelay = "250";

class RecordingTest : public E2eTest, public ::testing::WithParamInterface<const char*> {
protected:
    RecordingTest() : E2eTest(GetParam()) {}

    // The commands of the saved default file, without its waits.
    std::vector<std::string> savedCommands(int& waits) const {
        std::ifstream in(desktop.folder() / "pontrel.qmc", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::vector<std::string> commands;
        waits = 0;
        for (const std::string& line : decodeMacroFile(bytes).lines) {
            if (line.rfind("code:|001|", 0) == 0) {
                ++waits;
            } else if (line.rfind("code:|", 0) == 0 && line.rfind("code:|000|", 0) != 0) {
                commands.push_back(line);
            }
        }
        return commands;
    }
};

struct Actions {
    std::string text;
    std::vector<XlibReceiver::Press> presses;
    // From the first click to the first character, and from the last character to the next
    // click.
    double clickToTyping = 0;
    double typingToClick = 0;
};

Actions actionsOf(const XlibReceiver& receiver) {
    Actions actions{receiver.text(), receiver.presses()};
    std::vector<XlibReceiver::Key> keys = receiver.keys();
    std::erase_if(keys, [](const XlibReceiver::Key& key) { return key.text.empty(); });
    if (actions.presses.size() == 2 && !keys.empty()) {
        const auto ms = [](TimePoint from, TimePoint to) {
            return std::chrono::duration<double, std::milli>(to - from).count();
        };
        actions.clickToTyping = ms(actions.presses[0].time, keys.front().at);
        actions.typingToClick = ms(keys.back().at, actions.presses[1].time);
    }
    return actions;
}

TEST_P(RecordingTest, WhatTheUserDidIsRecordedSavedAndPlayedBackAlike) {
    writeMacro(desktop, "pontrel.qmc", {basicSettings(baseWait), waitRecord(0)}, '1');
    PontrelApp app(desktop, pontrelProgram);
    const Window window = app.window();
    ASSERT_NE(window, 0U) << app.log();
    auto receiver = std::make_unique<XlibReceiver>(receiverPlace, 0xFFFFFF);
    const Rect place = desktop.clientRect(receiver->window());
    const Point left{place.x + 100, place.y + 100};
    const Point right{place.x + 400, place.y + 250};

    // Command 1 is the current one; Ctrl+R in the list starts the countdown.
    desktop.click(app.atDesign(600, 5300));
    runTool({"xdotool", "key", "ctrl+r"});
    ASSERT_TRUE(
        waitUntil([&] { return desktop.title(window) == "Pontrel – Aufnahme läuft"; }, 8000, 20))
        << desktop.title(window) << app.log();

    ASSERT_TRUE(desktop.focus(receiver->window()));
    desktop.click(left);
    pause(600);
    // Slowly: for a character the layout lacks xdotool binds a spare key only while it is down,
    // and every client (the receiver too) has to read that binding in time.
    runTool({"xdotool", "type", "--delay", typingDelay, "Grüße aus Köln"});
    runTool({"xdotool", "key", "Return"});
    runTool({"xdotool", "type", "--delay", typingDelay, "@€"});
    pause(1000);
    desktop.click(right, 3);
    pause(200);
    const Actions recorded = actionsOf(*receiver);
    desktop.pressKey("Escape");
    ASSERT_TRUE(waitUntil([&] { return desktop.title(window) == "Pontrel"; }, 3000, 20))
        << desktop.title(window);
    ASSERT_EQ(recorded.text, typedText) << "xdotool did not type as expected";

    desktop.click(app.atDesign(3360 + 465, 4200 + 187));  // Speichern
    int waits = 0;
    const std::vector<std::string> expected{moveRecord(left), clickRecord("left"),
                                            textRecord(recordedText), moveRecord(right),
                                            clickRecord("right")};
    waitUntil([&] { return savedCommands(waits) == expected; }, 5000, 50);
    EXPECT_EQ(savedCommands(waits), expected) << app.log();
    EXPECT_EQ(waits, 3) << "the command before, and the pauses before typing and the right click";

    receiver.reset();
    receiver = std::make_unique<XlibReceiver>(receiverPlace, 0xFFFFFF);
    const Rect again = desktop.clientRect(receiver->window());
    ASSERT_EQ(again.x, place.x) << "the fresh receiver is elsewhere";
    ASSERT_EQ(again.y, place.y) << "the fresh receiver is elsewhere";
    desktop.click(app.atDesign(2475 + 450, 4200 + 187));  // Start
    waitUntil([&] { return receiver->presses().size() == 2; }, 10000, 20);
    pause(200);
    const Actions played = actionsOf(*receiver);

    EXPECT_EQ(played.text, recorded.text);
    ASSERT_EQ(played.presses.size(), recorded.presses.size());
    for (std::size_t i = 0; i < played.presses.size(); ++i) {
        EXPECT_EQ(played.presses[i].button, recorded.presses[i].button) << "press " << i;
        EXPECT_EQ(played.presses[i].at, recorded.presses[i].at) << "press " << i;
    }
    EXPECT_NEAR(played.clickToTyping, recorded.clickToTyping, 0.2 * recorded.clickToTyping);
    EXPECT_NEAR(played.typingToClick, recorded.typingToClick, 0.2 * recorded.typingToClick);
}

INSTANTIATE_TEST_SUITE_P(Layouts, RecordingTest, ::testing::Values("de", "us"),
                         [](const ::testing::TestParamInfo<const char*>& layout) {
                             return std::string(layout.param);
                         });

}  // namespace
}  // namespace pontrel::e2e
