#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

struct BasicSettingsTest : test::FormFixture {
    void SetUp() override { start(); }
    const std::string& record0() { return f().befehl_zeilen[0]; }
};

TEST_F(BasicSettingsTest, WaitIsCorrectedInTheFieldAndFollowedByTheRecord) {
    f().txt_0_wait.setText("70000");
    EXPECT_EQ(f().txt_0_wait.text(), "60000");
    EXPECT_EQ(record0(), "code:|000|wait:|60000|loop:|1|start:|no|stop:|ESC|");

    f().txt_0_wait.setText("-5");
    EXPECT_EQ(f().txt_0_wait.text(), "0");
    EXPECT_EQ(record0(), "code:|000|wait:|0|loop:|1|start:|no|stop:|ESC|");

    f().txt_0_wait.setText("0500");
    EXPECT_EQ(record0(), "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");
}

TEST_F(BasicSettingsTest, ASmallWaitIsRaisedOnlyWhenAnotherCommandIsShown) {
    f().txt_0_wait.setText("5");
    EXPECT_EQ(record0(), "code:|000|wait:|5|loop:|1|start:|no|stop:|ESC|");

    f().txt_0_wait.lostFocus();  // leaving the field does not correct it
    EXPECT_EQ(f().txt_0_wait.text(), "5");

    f().hsc_befehle.setValue(1);  // another command becomes current
    EXPECT_EQ(f().txt_0_wait.text(), "10");
    EXPECT_EQ(record0(), "code:|000|wait:|5|loop:|1|start:|no|stop:|ESC|");
}

TEST_F(BasicSettingsTest, LeavingAnEmptyRepeatFieldWritesLoopZero) {
    f().txt_0_loop.setText("");
    EXPECT_EQ(record0(), "code:|000|wait:|500|loop:|0|start:|no|stop:|ESC|");
    f().txt_0_loop.lostFocus();
    EXPECT_EQ(f().txt_0_loop.text(), "0");
    EXPECT_EQ(record0(), "code:|000|wait:|500|loop:|0|start:|no|stop:|ESC|");
}

TEST_F(BasicSettingsTest, HotKeyChoicesSetCodeNameAndRecord) {
    f().com_0_startcode.setText("F6");
    EXPECT_EQ(f().start_taste, "&H75");
    EXPECT_EQ(f().start_tastenname, "F6");
    EXPECT_EQ(record0(), "code:|000|wait:|500|loop:|1|start:|F6|stop:|ESC|");

    f().com_0_startcode.setText("no");
    EXPECT_EQ(f().start_taste, "&H7C");

    f().com_0_abbruchcode.setText("F3");
    EXPECT_EQ(f().abbruch_taste, "&H72");
    EXPECT_EQ(record0(), "code:|000|wait:|500|loop:|1|start:|no|stop:|F3|");
}

TEST_F(BasicSettingsTest, TheBasicSettingsRecordAlwaysGoesToSlotZero) {
    f().hsc_befehle.setValue(2);
    const std::string command2 = f().befehl_zeilen[2];
    f().txt_0_loop.setText("4");
    EXPECT_EQ(record0(), "code:|000|wait:|500|loop:|4|start:|no|stop:|ESC|");
    EXPECT_EQ(f().befehl_zeilen[2], command2);
}

TEST_F(BasicSettingsTest, NothingChangesDuringPlayback) {
    f().Timer_startloop.setEnabled(true);
    f().txt_0_wait.setText("900");
    f().com_0_startcode.setText("F2");
    EXPECT_EQ(record0(), "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");
    EXPECT_EQ(f().start_taste, "&H7C");
}

}  // namespace
}  // namespace pontrel
