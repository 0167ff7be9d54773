#include <gtest/gtest.h>

#include <string>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

struct NavigationTest : test::FormFixture {
    void SetUp() override { start(); }

    void setCount(int count) { f().txt_befehle.setText(std::to_string(count)); }
};

TEST_F(NavigationTest, ArrowsStopAtOneAndAtTheMaximum) {
    setCount(1);
    f().img_befehl_left.click();
    EXPECT_EQ(f().befehl_anzahl, 1);

    setCount(32000);
    f().img_befehl_right.click();
    EXPECT_EQ(f().befehl_anzahl, 32000);
    EXPECT_EQ(f().txt_befehle.text(), "32000");
}

TEST_F(NavigationTest, TypedCountIsCappedAndAnEmptyBoxBecomesOneWhenLeft) {
    f().txt_befehle.setText("40000");
    EXPECT_EQ(f().txt_befehle.text(), "32000");
    EXPECT_EQ(f().befehl_anzahl, 32000);
    EXPECT_EQ(f().hsc_befehle.max(), 32000);

    f().txt_befehle.setText("");
    EXPECT_EQ(f().befehl_anzahl, 32000);
    f().txt_befehle.lostFocus();
    EXPECT_EQ(f().txt_befehle.text(), "1");
    EXPECT_EQ(f().befehl_anzahl, 1);
}

TEST_F(NavigationTest, TypingBringsBackRemovedCommandsWhileTheArrowAddsAFreshOne) {
    setCount(5);
    f().befehl_zeilen[5] = "code:|002|xpos:|1|ypos:|2|";
    f().hsc_befehle.setValue(5);
    EXPECT_EQ(f().befehl_nr, 5);

    f().img_befehl_left.click();
    EXPECT_EQ(f().befehl_anzahl, 4);
    EXPECT_EQ(f().befehl_nr, 4);
    EXPECT_EQ(f().lbl_hscaktuell.caption(), "4");

    setCount(5);
    EXPECT_EQ(f().befehl_zeilen[5], "code:|002|xpos:|1|ypos:|2|");

    f().img_befehl_left.click();
    f().img_befehl_right.click();
    EXPECT_EQ(f().befehl_zeilen[5], "code:|001|wait:|0|");
}

TEST_F(NavigationTest, TheRightArrowWithAnEmptiedBoxStepsFromTheCount) {
    f().befehl_zeilen[1] = "code:|004|text:|Hallo|";
    f().txt_befehle.setText("");
    f().img_befehl_right.click();
    EXPECT_EQ(f().befehl_anzahl, 4);
    EXPECT_EQ(f().befehl_zeilen[1], "code:|004|text:|Hallo|");
}

TEST_F(NavigationTest, TheScrollBarReachesCommandsBeyondTheListRows) {
    setCount(1500);
    f().befehl_zeilen[1200] = "code:|002|xpos:|12|ypos:|34|";
    f().hsc_befehle.setValue(1200);
    EXPECT_EQ(f().befehl_nr, 1200);
    EXPECT_EQ(f().befehl_code, 2);
    EXPECT_EQ(f().lst_code.listCount(), 1000);
    EXPECT_EQ(f().lst_code.selCount(), 0);
    EXPECT_TRUE(f().com_code.visible());
    EXPECT_FALSE(f().com_code0.visible());
}

TEST_F(NavigationTest, ACountBelowTheCurrentCommandMakesTheLastOneCurrent) {
    setCount(8);
    f().hsc_befehle.setValue(8);
    setCount(3);
    EXPECT_EQ(f().befehl_nr, 3);
    EXPECT_EQ(f().hsc_befehle.value(), 3);
}

TEST_F(NavigationTest, DuringPlaybackCountAndScrollBarChangeNoRecords) {
    f().Timer_startloop.setEnabled(true);
    setCount(9);
    f().hsc_befehle.setValue(2);
    EXPECT_EQ(f().befehl_anzahl, 3);
    EXPECT_EQ(f().befehl_nr, 0);
    EXPECT_EQ(f().befehl_zeilen[9], "");
}

}  // namespace
}  // namespace pontrel
