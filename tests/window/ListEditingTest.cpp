#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

struct ListEditingTest : test::FormFixture {
    void SetUp() override { start(); }

    // A macro of `count` commands whose records name their own slot ("code:|004|text:|c3|").
    void macro(int count) {
        f().navigation.anzahl_setzen(count);
        for (int slot = 1; slot <= count; ++slot) {
            f().befehl_zeilen[static_cast<std::size_t>(slot)] = record(slot);
        }
        f().records.befehlsliste();
    }
    static std::string record(int n) { return "code:|004|text:|c" + std::to_string(n) + "|"; }

    // Selects the rows as a user's click would, making the first of them current.
    void select(const std::vector<int>& rows) {
        std::vector<bool> selection(static_cast<std::size_t>(f().lst_code.listCount()), false);
        for (const int row : rows) {
            selection[static_cast<std::size_t>(row)] = true;
        }
        f().lst_code.applyUserSelection(selection, rows.empty() ? -1 : rows.front());
        f().lst_code.MouseDown(MouseButton::Left);
    }
    std::vector<std::string> commands() {
        return {f().befehl_zeilen.begin() + 1, f().befehl_zeilen.begin() + 1 + f().befehl_anzahl};
    }
    void press(int character) { f().lst_code.KeyPress(character); }
};

TEST_F(ListEditingTest, NewCommandCopiesTheFirstSelectedCommandBehindIt) {
    macro(5);
    select({3});
    press(14);
    EXPECT_EQ(commands(), (std::vector<std::string>{record(1), record(2), record(3), record(3),
                                                    record(4), record(5)}));
    EXPECT_EQ(f().txt_befehle.text(), "6");
    EXPECT_EQ(f().hsc_befehle.max(), 6);
}

TEST_F(ListEditingTest, NewCommandWithoutSelectionDuplicatesTheFirstCommand) {
    macro(2);
    f().lst_code.applyUserSelection({false, false, false}, -1);
    f().list.mnunewcommand_Click();
    EXPECT_EQ(commands(), (std::vector<std::string>{record(1), record(1), record(2)}));
    EXPECT_EQ(f().befehl_zeilen[0].substr(0, 9), "code:|000");
}

TEST_F(ListEditingTest, NewAndPasteNeverGrowTheListBeyondRow999) {
    macro(999);
    select({5});
    press(14);
    EXPECT_EQ(f().befehl_anzahl, 999);

    macro(998);
    select({2});
    select({2, 4});
    press(3);
    press(22);
    EXPECT_EQ(f().befehl_anzahl, 998);
}

TEST_F(ListEditingTest, CopiedRowsArePastedBehindTheSelectedRowAgainAndAgain) {
    macro(5);
    select({2});
    select({2, 4});  // Ctrl+click adds row 4
    press(3);
    select({1});
    press(22);
    EXPECT_EQ(commands(), (std::vector<std::string>{record(1), record(2), record(4), record(2),
                                                    record(3), record(4), record(5)}));
    press(22);
    EXPECT_EQ(f().befehl_anzahl, 9);
    EXPECT_EQ(f().befehl_zeilen[2], record(2));
    EXPECT_EQ(f().befehl_zeilen[3], record(4));
    EXPECT_EQ(f().befehl_zeilen[9], record(5));
}

TEST_F(ListEditingTest, SelectAllThenDeleteKeepsTheFirstCommand) {
    macro(4);
    select({1});
    press(1);
    EXPECT_FALSE(f().lst_code.selected(0));
    EXPECT_EQ(f().lst_code.selCount(), 4);
    EXPECT_EQ(f().befehl_nr, 1);
    f().lst_code.KeyUp(46);
    EXPECT_EQ(commands(), (std::vector<std::string>{record(1)}));
}

TEST_F(ListEditingTest, DeletingASelectionThatReachesRowZeroKeepsTheFirstCommand) {
    macro(3);
    select({2});
    f().lst_code.applyUserSelection({true, true, true, true}, 0);  // Shift+click up to row 0
    f().lst_code.KeyUp(46);
    EXPECT_EQ(commands(), (std::vector<std::string>{record(1)}));
    EXPECT_EQ(f().befehl_zeilen[0].substr(0, 9), "code:|000");
}

TEST_F(ListEditingTest, DeleteDoesNothingWhileTheBasicSettingsAreCurrent) {
    macro(3);
    select({0});
    f().lst_code.applyUserSelection({true, true, true, false}, 0);
    f().lst_code.KeyUp(46);
    EXPECT_EQ(f().befehl_anzahl, 3);
}

TEST_F(ListEditingTest, DeletingTheLastRowMakesTheNewLastCommandCurrent) {
    macro(3);
    select({3});
    f().lst_code.KeyUp(46);
    EXPECT_EQ(commands(), (std::vector<std::string>{record(1), record(2)}));
    EXPECT_EQ(f().befehl_nr, 2);
    EXPECT_EQ(f().befehl_code, 4);
    EXPECT_FALSE(f().aenderung_sperren);
}

// The user looks at the wait 33 in row 3, Ctrl+clicks row 1 (and, for a removal, row 3 again to
// spare it), edits the list and types a 7 into the panel: the 7 lands on the 33 wherever it moved.
TEST_F(ListEditingTest, TheCurrentCommandMovesWithItsRecordThroughEveryListEdit) {
    struct Case {
        const char* edit;
        bool row3Deselected;
        int key;                         // a typed character, or 0 for the Delete key
        std::vector<std::string> waits;  // the macro after the 7 was typed
        int current;
    };
    const std::vector<Case> cases{
        {"new", false, 14, {"11", "11", "22", "337", "44"}, 4},
        {"paste", false, 22, {"11", "22", "22", "337", "44"}, 4},
        {"delete", true, 0, {"22", "337", "44"}, 2},
        {"cut", true, 24, {"22", "337", "44"}, 2},
    };
    const auto wait = [](const std::string& ms) { return "code:|001|wait:|" + ms + "|"; };
    for (const Case& c : cases) {
        macro(4);
        for (int slot = 1; slot <= 4; ++slot) {
            f().befehl_zeilen[static_cast<std::size_t>(slot)] = wait(std::to_string(11 * slot));
        }
        f().records.befehlsliste();
        select({2});
        press(3);  // the buffer holds the 22
        select({3});
        f().lst_code.applyUserSelection({false, true, false, !c.row3Deselected, false},
                                        c.row3Deselected ? 3 : 1);
        f().lst_code.MouseDown(MouseButton::Left);
        ASSERT_EQ(f().txt_1_random1.text(), "33") << c.edit;

        if (c.key == 0) {
            f().lst_code.KeyUp(46);
        } else {
            press(c.key);
        }
        EXPECT_EQ(f().befehl_nr, c.current) << c.edit;
        EXPECT_EQ(f().lbl_hscaktuell.caption(), std::to_string(c.current)) << c.edit;
        EXPECT_TRUE(f().lst_code.selected(c.current)) << c.edit;
        EXPECT_EQ(f().txt_1_random1.text(), "33") << c.edit;
        f().txt_1_random1.setText(f().txt_1_random1.text() + "7");
        std::vector<std::string> expected;
        for (const std::string& ms : c.waits) {
            expected.push_back(wait(ms));
        }
        EXPECT_EQ(commands(), expected) << c.edit;
    }
}

TEST_F(ListEditingTest, CutOfTheBasicSettingsDoesNothing) {
    macro(3);
    select({0});
    press(24);
    EXPECT_EQ(f().befehl_anzahl, 3);
    EXPECT_EQ(f().kopier_puffer[0], "");
}

TEST_F(ListEditingTest, PasteWithAnEmptyBufferClearsOnlyRemovedCommands) {
    macro(3);
    f().befehl_zeilen[7] = record(7);
    select({1});
    press(22);
    EXPECT_EQ(commands(), (std::vector<std::string>{record(1), record(2), record(3)}));
    EXPECT_EQ(f().befehl_zeilen[7], "");
}

TEST_F(ListEditingTest, ContextMenuEnablesItsEntriesByTheSelection) {
    macro(1);
    select({0});
    f().lst_code.MouseDown(MouseButton::Right);
    EXPECT_FALSE(f().mnucut.enabled());
    EXPECT_FALSE(f().mnucopy.enabled());
    EXPECT_FALSE(f().mnudelete.enabled());
    EXPECT_FALSE(f().mnupaste.enabled());

    macro(3);
    select({2});
    press(3);
    f().lst_code.MouseDown(MouseButton::Right);
    EXPECT_TRUE(f().mnucut.enabled());
    EXPECT_TRUE(f().mnucopy.enabled());
    EXPECT_TRUE(f().mnupaste.enabled());
    EXPECT_TRUE(f().mnunewcommand.enabled());
    EXPECT_FALSE(f().aenderung_sperren);
}

TEST_F(ListEditingTest, AMenuChoiceRunsItsOperation) {
    macro(3);
    select({3});
    fake.window.menuChoice = "mnunewcommand";
    f().lst_code.MouseDown(MouseButton::Right);
    EXPECT_EQ(f().befehl_anzahl, 4);
    EXPECT_FALSE(f().aenderung_sperren);
}

struct DoubleClickTest : ListEditingTest {
    void pcCommand(int slot, const std::string& word) {
        f().befehl_zeilen[static_cast<std::size_t>(slot)] = "code:|007|pc:|" + word + "|";
        f().records.befehlsliste();
    }
};

TEST_F(DoubleClickTest, ShutdownAsksFirstAndNoRunsNothing) {
    macro(3);
    pcCommand(2, "shutdown");
    select({2});
    fake.take();
    fake.dialogs.answers.push_back(MessageAnswer::No);
    f().lst_code.DblClick();
    fake.clock.advance(1000);
    const test::Transcript expected{
        "message \"Möchten Sie diesen Befehl wirklich ausführen?\" title \"Pontrel\" yes/no "
        "question"};
    EXPECT_EQ(fake.take(), expected);
    EXPECT_FALSE(f().aenderung_sperren);
}

TEST_F(DoubleClickTest, EarlyExitsAlwaysClearTheChangeLock) {
    macro(3);
    pcCommand(1, "input-disable");
    pcCommand(2, "reboot");
    f().befehl_zeilen[3] = "code:|010|xpos:|1|ypos:|1|break:|0|";
    f().records.befehlsliste();
    for (const int row : {1, 2, 3}) {
        select({row});
        fake.dialogs.answers.push_back(MessageAnswer::No);
        f().lst_code.DblClick();
        EXPECT_FALSE(f().aenderung_sperren) << row;
        EXPECT_FALSE(f().Timer_start.enabled()) << row;
    }
    f().Timer_startloop.setEnabled(true);
    f().lst_code.DblClick();
    EXPECT_FALSE(f().aenderung_sperren);
}

TEST_F(DoubleClickTest, AnOrdinaryCommandRunsOnceAfterTheBaseWait) {
    macro(3);
    f().befehl_zeilen[2] = "code:|002|xpos:|10|ypos:|20|";
    f().records.befehlsliste();
    select({2});
    fake.take();
    f().lst_code.DblClick();
    fake.clock.advance(499);
    EXPECT_TRUE(fake.take().empty());
    fake.clock.advance(2000);
    EXPECT_EQ(fake.take(), (test::Transcript{"move 10,20"}));
}

}  // namespace
}  // namespace pontrel
