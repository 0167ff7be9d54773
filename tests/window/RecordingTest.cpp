#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

using Kind = RecordedInput::Kind;

struct RecordingTest : test::FormFixture {
    static constexpr int ctrlR = 18;

    void SetUp() override {
        start();
        f().navigation.anzahl_setzen(3);
        for (int slot = 1; slot <= 3; ++slot) {
            f().befehl_zeilen[static_cast<std::size_t>(slot)] = record(slot);
        }
        f().records.befehlsliste();
    }
    static std::string record(int n) { return "code:|004|text:|c" + std::to_string(n) + "|"; }

    void selectRow(int row) {
        std::vector<bool> selection(static_cast<std::size_t>(f().lst_code.listCount()), false);
        selection[static_cast<std::size_t>(row)] = true;
        f().lst_code.applyUserSelection(selection, row);
        f().lst_code.MouseDown(MouseButton::Left);
    }
    void click(std::int64_t time, int x, int y, RecordedButton button = RecordedButton::Left) {
        fake.recorder.user(RecordedInput::click(time, button, x, y));
    }
    void type(std::int64_t time, Kind kind, const std::string& text) {
        fake.recorder.user(RecordedInput::pressed(kind, time, text));
    }
    // Ctrl+R in the list and the whole countdown.
    void startRecording() {
        f().lst_code.KeyPress(ctrlR);
        fake.clock.advance(3000);
    }
    std::vector<std::string> commands() {
        return {f().befehl_zeilen.begin() + 1, f().befehl_zeilen.begin() + 1 + f().befehl_anzahl};
    }
};

TEST_F(RecordingTest, CountdownThenRecordingUntilTheStopKeyAndTheCommandsGoInBehindTheCurrent) {
    selectRow(2);
    fake.take();
    f().lst_code.KeyPress(ctrlR);
    const std::vector<std::pair<int, std::string>> titles{
        {0, "Pontrel – Aufnahme in 3…"},    {999, "Pontrel – Aufnahme in 3…"},
        {1, "Pontrel – Aufnahme in 2…"},    {1000, "Pontrel – Aufnahme in 1…"},
        {1000, "Pontrel – Aufnahme läuft"},
    };
    for (const auto& [ms, title] : titles) {
        click(0, 900, 900);  // nothing of the countdown counts
        fake.clock.advance(ms);
        EXPECT_EQ(f().frm_pontrel.caption(), title);
        EXPECT_EQ(f().cmd_start.caption(), "Aufnahme beenden");
    }
    EXPECT_EQ(fake.take(), std::vector<std::string>{"recording on"});

    click(10000, 500, 400, RecordedButton::Right);
    click(10100, 150, 150);  // in our own window
    type(11200, Kind::Character, "a");
    type(11220, Kind::Character, "|");
    type(11240, Kind::Key, "ENTER");
    fake.clock.advance(20);
    fake.window.active = true;
    type(11300, Kind::Character, "x");  // typed into our own window
    fake.clock.advance(20);
    fake.window.active = false;
    type(11400, Kind::Key, "ESC");
    type(11500, Kind::Character, "z");  // after the stop key
    fake.clock.advance(20);

    EXPECT_FALSE(f().recording.active());
    EXPECT_EQ(f().frm_pontrel.caption(), "Pontrel");
    EXPECT_EQ(f().cmd_start.caption(), "Start");
    EXPECT_EQ(commands(),
              (std::vector<std::string>{record(1), record(2), "code:|002|xpos:|500|ypos:|400|",
                                        "code:|003|mouseclick:|right|", "code:|001|wait:|200|",
                                        "code:|004|text:|a{ENTER}|", record(3)}));
    EXPECT_EQ(f().txt_befehle.text(), "7");
    EXPECT_EQ(f().befehl_nr, 3);
    EXPECT_TRUE(f().lst_code.selected(3));
    EXPECT_EQ(f().txt_2_x.text(), "500");
    const std::vector<std::string> log = fake.take();
    ASSERT_EQ(log.size(), 2U);
    EXPECT_EQ(log[0], "recording off");
    EXPECT_EQ(log[1].rfind("log \"Aufnahme: ein getipptes Zeichen (0x7C)", 0), 0U);
}

TEST_F(RecordingTest, TheStartButtonEndsTheRecordingOrTheCountdown) {
    selectRow(1);
    startRecording();
    click(0, 700, 700);
    f().cmd_start.click();  // its own click lies in our window
    click(10, 150, 150);
    EXPECT_FALSE(f().recording.active());
    EXPECT_EQ(commands(),
              (std::vector<std::string>{record(1), "code:|002|xpos:|700|ypos:|700|",
                                        "code:|003|mouseclick:|left|", record(2), record(3)}));

    fake.take();
    f().lst_code.KeyPress(ctrlR);
    f().cmd_start.click();
    fake.clock.advance(5000);
    EXPECT_EQ(f().frm_pontrel.caption(), "Pontrel");
    EXPECT_TRUE(fake.take().empty());  // the recorder never started
    EXPECT_EQ(f().befehl_anzahl, 5);
}

TEST_F(RecordingTest, ARecordingNeverOutlivesTheForm) {
    startRecording();
    fake.take();
    form.reset();
    EXPECT_EQ(fake.take(), std::vector<std::string>{"recording off"});
}

TEST_F(RecordingTest, WithoutARecorderTheEntryIsDisabledAndSaysWhy) {
    fake.recorder.reason = "geht hier nicht";
    form = std::make_unique<MainForm>(fake.platform);
    start();
    EXPECT_FALSE(f().mnurecord.enabled());
    EXPECT_EQ(f().mnurecord.toolTip(), "geht hier nicht");
    f().lst_code.KeyPress(ctrlR);
    fake.clock.advance(5000);
    EXPECT_FALSE(f().recording.active());
    EXPECT_TRUE(fake.take().empty());
}

}  // namespace
}  // namespace pontrel
