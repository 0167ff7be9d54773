#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EngineFixture.h"

namespace pontrel {
namespace {

using test::EngineFixture;
using test::startKey;
using test::stopKey;
using test::Transcript;

const std::string move1 = "code:|002|xpos:|1|ypos:|1|";
const std::string move2 = "code:|002|xpos:|2|ypos:|2|";
const std::string move3 = "code:|002|xpos:|3|ypos:|3|";

using RunTimingTest = EngineFixture;

TEST_F(RunTimingTest, EachEntryFollowsOneBaseWaitAfterTheAdvanceLoopArmedIt) {
    macro({basicSettings("500", "0"), move1, move2});
    f().cmd_start.click();
    EXPECT_EQ(whenLogged("move 1,1", 5000), 510);
    EXPECT_EQ(f().lbl_hscaktuell.caption(), "1");
    EXPECT_EQ(whenLogged("move 2,2", 5000), 1010);
}

TEST_F(RunTimingTest, LoopCountsRepetitionsAfterTheLastCommand) {
    struct Case {
        std::string loop;
        int passes;
    };
    for (const Case& c : {Case{"0", 1}, Case{"2", 3}, Case{"-4", 1}}) {
        SCOPED_TRACE("loop " + c.loop);
        macro({basicSettings("100", c.loop), move1, move2, move3});
        f().cmd_start.click();
        Transcript expected;
        for (int pass = 0; pass < c.passes; ++pass) {
            expected.insert(expected.end(), {"move 1,1", "move 2,2", "move 3,3"});
        }
        // The natural end lifts an input block and lets queued input arrive.
        expected.insert(expected.end(), {"release input", "drain queued input"});
        EXPECT_EQ(runToEnd(), expected);
    }
}

TEST_F(RunTimingTest, BaseWaitIsKeptBetweenTenAndSixtyThousandMilliseconds) {
    struct Case {
        std::string wait;
        int interval;
        std::string box;
    };
    for (const Case& c : {Case{"5", 10, "10"}, Case{"70000", 60000, "60000"}, Case{"-3", 10, "10"},
                          Case{"250", 250, "250"}}) {
        SCOPED_TRACE("wait " + c.wait);
        f().txt_0_wait.setText(c.wait);
        macro({basicSettings(c.wait, "0"), move1});
        const std::int64_t started = fake.clock.now();
        f().cmd_start.click();
        EXPECT_EQ(f().Timer_start.interval(), c.interval);
        EXPECT_EQ(f().txt_0_wait.text(), c.box);
        EXPECT_EQ(whenLogged("move 1,1", 200000), started + 10 + c.interval);
        runToEnd();
    }
}

TEST_F(RunTimingTest, StartFillsEmptyEntriesAndReplacesUnknownCodes) {
    macro({basicSettings("100", "0"), "", "code:|042|x:|1|", move1});
    f().cmd_start.click();
    EXPECT_EQ(f().befehl_zeilen[1], "code:|001|wait:|0|");
    EXPECT_EQ(f().befehl_zeilen[2], "code:|001|wait:|0|");
    EXPECT_EQ(runToEnd(), (Transcript{"move 1,1", "release input", "drain queued input"}));
}

TEST_F(RunTimingTest, AnEmptyMacroPlaysNothingAndEndsAfterItsPasses) {
    macro({basicSettings("100", "2")});
    f().befehl_zeilen[1] = move1;  // a removed command beyond the end
    f().cmd_start.click();
    fake.clock.advance(30);
    EXPECT_FALSE(running());
    EXPECT_EQ(fake.take(), (Transcript{"release input", "drain queued input"}));
}

using HotKeyTest = EngineFixture;

TEST_F(HotKeyTest, IdleTheStartKeyIsReadWhenAKeyChangesOrElsePolled) {
    struct Case {
        bool tellsKeyChanges;
        int readsInAnIdleSecond;
        std::int64_t pressToRun;
    };
    for (const Case c : {Case{true, 0, 0}, Case{false, 100, 10}}) {
        SCOPED_TRACE(c.tellsKeyChanges);
        form.reset();
        fake.input.tellsKeyChanges = c.tellsKeyChanges;
        form = std::make_unique<MainForm>(fake.platform);
        start();
        macro({basicSettings("100", "0"), move1});
        fake.clock.advance(1000);
        fake.input.keyStateReads = 0;
        fake.clock.advance(1000);
        EXPECT_EQ(fake.input.keyStateReads, c.readsInAnIdleSecond);

        fake.input.press(0x41);  // another key wakes the check, which finds no start
        fake.clock.advance(10);
        EXPECT_FALSE(running());
        const std::int64_t pressed = fake.clock.now();
        fake.input.press(startKey);
        // Then the advance loop's first tick and one base wait.
        EXPECT_EQ(whenLogged("move 1,1", 1000) - pressed, c.pressToRun + 10 + 100);
        runToEnd();
        fake.input.release(startKey);
    }
}

TEST_F(HotKeyTest, OnlyAFreshPressStartsAndAHeldKeyDoesNotRestart) {
    macro({basicSettings("100", "0"), move1});
    fake.input.press(startKey);
    fake.clock.advance(10);
    EXPECT_TRUE(running());
    EXPECT_EQ(f().cmd_start.caption(), "ESC=Stop");

    runToEnd();
    fake.clock.advance(1000);  // still held: reads 0x8000
    EXPECT_FALSE(running());

    fake.input.release(startKey);
    fake.input.press(startKey);
    fake.input.release(startKey);  // pressed and let go between two polls: 0x0001
    fake.clock.advance(100);
    EXPECT_FALSE(running());
}

TEST_F(HotKeyTest, TheChosenKeyCodesAreRead) {
    macro({basicSettings("100", "0"), move1});
    f().start_taste = "&H70";
    f().abbruch_taste = "&H7B";
    f().abbruch_tastenname = "F12";
    fake.input.press(startKey);
    fake.clock.advance(50);
    EXPECT_FALSE(running());
    fake.input.press(0x70);
    fake.clock.advance(10);
    EXPECT_EQ(f().cmd_start.caption(), "F12=Stop");
    fake.input.press(stopKey);
    fake.clock.advance(50);
    EXPECT_TRUE(running());
    fake.input.press(0x7B);
    fake.clock.advance(10);
    EXPECT_FALSE(running());
}

TEST_F(HotKeyTest, TheStopKeyDuringALongWaitDropsThePendingStep) {
    macro({basicSettings("60000", "0"), move1, move2});
    f().cmd_start.click();
    fake.clock.advance(30000);
    fake.input.press(stopKey);
    fake.clock.advance(10);
    EXPECT_FALSE(running());
    fake.clock.advance(200000);
    EXPECT_EQ(fake.take(), (Transcript{"cancel queued input"}));
    EXPECT_EQ(f().cmd_start.caption(), "Start");
    EXPECT_TRUE(f().Timer_befehlstart.enabled());
    EXPECT_FALSE(f().Timer_befehlstop.enabled());
}

TEST_F(HotKeyTest, TheStopButtonCancelsQueuedInputButKeepsAnInputBlock) {
    macro({basicSettings("100", "0"), "code:|007|pc:|input-disable|", move1});
    f().cmd_start.click();
    fake.clock.advance(150);
    f().cmd_start.click();
    EXPECT_FALSE(running());
    EXPECT_EQ(fake.take(), (Transcript{"block input", "cancel queued input"}));
    EXPECT_FALSE(f().aenderung_sperren);
}

TEST_F(HotKeyTest, NoNewRunStartsInsideTheMessageBoxOfAStep) {
    macro({basicSettings("100", "0"), "code:|007|pc:|reboot|", move1});
    bool runningInsideBox = false;
    fake.dialogs.whileMessageBoxOpen = [&] {
        fake.input.press(stopKey);
        fake.clock.advance(30);
        fake.input.release(stopKey);
        fake.input.press(startKey);
        fake.clock.advance(30);
        fake.input.release(startKey);
        runningInsideBox = running();
    };
    f().cmd_start.click();
    fake.clock.advance(1000);
    EXPECT_FALSE(runningInsideBox);
    EXPECT_FALSE(running());
    EXPECT_FALSE(f().Timer_start.enabled());
    EXPECT_EQ(f().lbl_hscaktuell.caption(), "0");
    EXPECT_EQ(fake.take(), (Transcript{"reboot", "message \"reboot\" title \"Pontrel\" ok",
                                       "cancel queued input"}));
    EXPECT_FALSE(f().interpreter.stepInProgress());

    fake.input.press(startKey);  // after the box the start key works again
    fake.clock.advance(10);
    EXPECT_TRUE(running());
}

using EditingLockTest = EngineFixture;

std::vector<Control*> editingControls(MainForm& f) {
    std::vector<Control*> controls{
        &f.cmd_neu,
        &f.cmd_load2,
        &f.img_befehl_left,
        &f.img_befehl_right,
        &f.txt_befehle,
        &f.txt_0_wait,
        &f.txt_0_loop,
        &f.com_0_startcode,
        &f.com_0_abbruchcode,
        &f.chk_0_transparenz,
        &f.chk_0_vordergrund,
        &f.chk_0_listbox,
        &f.txt_1_random1,
        &f.txt_1_random2,
        &f.txt_2_x,
        &f.txt_2_y,
        &f.com_4_eingabebefehl,
        &f.txt_4_eingabetext,
        &f.txt_5_start,
        &f.txt_5_hochzählen,
        &f.txt_6_pfad,
        &f.cmd_6_pfad,
        &f.txt_9_pfad,
        &f.cmd_9_pfad,
        &f.txt_10_x,
        &f.txt_10_y,
        &f.txt_10_abbruch,
        &f.hsc_befehle,
        &f.lst_code,
        &f.cmd_save,
        &f.cmd_save2,
        &f.com_code,
    };
    for (int i = 0; i < f.opt_3_click.size(); ++i) {
        controls.push_back(&f.opt_3_click[i]);
    }
    for (int i = 0; i < f.opt_7_pc.size(); ++i) {
        controls.push_back(&f.opt_7_pc[i]);
    }
    return controls;
}

TEST_F(EditingLockTest, ARunLocksTheEditorAndItsEndGivesItBack) {
    fake.system.driveRoots = {"/dev/sr0"};
    f().cmd_neu.click();
    fake.files.files["pontrel.qmc"] = "";
    macro({basicSettings("100", "0"), move1});
    f().cmd_start.click();
    for (Control* control : editingControls(f())) {
        EXPECT_FALSE(control->enabled()) << control->name();
    }
    EXPECT_FALSE(f().com_8_laufwerk.enabled());
    EXPECT_FALSE(f().cmd_load.enabled());
    EXPECT_TRUE(f().com_code.visible());
    EXPECT_FALSE(f().com_code0.visible());
    EXPECT_TRUE(f().cmd_start.enabled());

    runToEnd();
    for (Control* control : editingControls(f())) {
        EXPECT_TRUE(control->enabled()) << control->name();
    }
    EXPECT_TRUE(f().com_8_move.enabled());
    EXPECT_TRUE(f().cmd_load.enabled());
    EXPECT_FALSE(f().com_code.visible());
    EXPECT_TRUE(f().com_code0.visible());
    EXPECT_EQ(f().lbl_hscaktuell.caption(), "0");
    EXPECT_EQ(f().hsc_befehle.value(), 0);
    EXPECT_EQ(f().befehl_nr, 0);
    EXPECT_EQ(f().befehl_code, 0);
}

TEST_F(EditingLockTest, WithoutACdDriveItsControlsStayDisabledThroughARun) {
    ASSERT_TRUE(f().keine_cd);
    macro({basicSettings("100", "0"), move1});
    f().cmd_start.click();
    runToEnd();
    EXPECT_FALSE(f().com_8_laufwerk.enabled());
    EXPECT_FALSE(f().com_8_move.enabled());
    EXPECT_FALSE(f().cmd_load.enabled());  // no macro file
}

TEST_F(EditingLockTest, WithoutWindowEffectsTheirBoxesStayDisabledThroughARun) {
    f().options.fenstereffekte_sperren("geht hier nicht");
    macro({basicSettings("100", "0"), move1});
    f().cmd_start.click();
    runToEnd();
    EXPECT_FALSE(f().chk_0_transparenz.enabled());
    EXPECT_FALSE(f().chk_0_vordergrund.enabled());
    EXPECT_TRUE(f().chk_0_listbox.enabled());
}

}  // namespace
}  // namespace pontrel
