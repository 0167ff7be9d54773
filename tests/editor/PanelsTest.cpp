#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "editor/EditorFixture.h"

namespace pontrel {
namespace {

using test::EditorFixture;

struct PanelsTest : EditorFixture {
    void SetUp() override {
        EditorFixture::SetUp();
        f().com_8_laufwerk.setItems({"/dev/sr0", "/dev/sr1"});
        f().keine_cd = false;
    }

    // Gives every panel field a value no record below produces, so a fill is seen.
    void scribble() {
        f().aenderung_sperren = true;
        for (TextBox* box :
             {&f().txt_1_random1, &f().txt_1_random2, &f().txt_2_x, &f().txt_2_y,
              &f().txt_4_eingabetext, &f().txt_5_start, &f().txt_5_hochzählen, &f().txt_6_pfad,
              &f().txt_9_pfad, &f().txt_10_x, &f().txt_10_y, &f().txt_10_abbruch}) {
            box->setText("alt");
        }
        f().opt_3_click.select(1);
        f().opt_7_pc.select(5);
        f().com_8_laufwerk.setListIndex(0);
        f().com_8_move.setListIndex(1);
        f().aenderung_sperren = false;
    }

    // The values a panel's fields show.
    std::vector<std::string> fields(int code) {
        auto& g = f();
        switch (code) {
            case 1:
                return {g.txt_1_random1.text(), g.txt_1_random2.text()};
            case 2:
                return {g.txt_2_x.text(), g.txt_2_y.text()};
            case 3:
                return {std::to_string(g.opt_3_click.selectedIndex())};
            case 4:
                return {g.txt_4_eingabetext.text()};
            case 5:
                return {g.txt_5_start.text(), g.txt_5_hochzählen.text()};
            case 6:
                return {g.txt_6_pfad.text()};
            case 7:
                return {std::to_string(g.opt_7_pc.selectedIndex())};
            case 8:
                return {g.com_8_laufwerk.text(), g.com_8_move.text()};
            case 9:
                return {g.txt_9_pfad.text()};
            default:
                return {g.txt_10_x.text(), g.txt_10_y.text(), g.txt_10_abbruch.text()};
        }
    }

    // The names of the visible panel controls.
    std::set<std::string> visiblePanelControls() {
        static const std::regex panelControl("^[a-z]+_[0-9]+_.*");
        std::set<std::string> names;
        for (const Control* control : f().allControls()) {
            if (control->visible() && std::regex_match(control->name(), panelControl)) {
                names.insert(control->name());
            }
        }
        return names;
    }
};

struct ShowCase {
    int code;
    std::string record;
    std::vector<std::string> fields;
};

TEST_F(PanelsTest, EachPanelIsFilledFromARecordOfItsOwnCode) {
    const std::vector<ShowCase> cases{
        {1, "code:|001|wait:|0200|maxwait:|800|", {"200", "800"}},
        {2, "code:|002|xpos:|100|ypos:|-7|", {"100", "-7"}},
        {3, "code:|003|mouseclick:|right|", {"2"}},
        {3, "code:|003|mouseclick:|Left|", {"0"}},
        {4, "code:|004|text:|Hallo{ENTER}|", {"Hallo{ENTER}"}},
        {5, "code:|005|start:|07|step:|x|", {"07", "x"}},
        {6, "code:|006|pfad:|/usr/bin/xterm -e top|", {"/usr/bin/xterm -e top"}},
        {7, "code:|007|pc:|screenoff|", {"3"}},
        {7, "code:|007|pc:|Reboot|", {"0"}},
        {8, "code:|008|drive:|/dev/sr1|move:|close|", {"/dev/sr1", "Einziehen"}},
        {8, "code:|008|drive:|/dev/sr9|move:|open|", {"/dev/sr0", "Auswerfen"}},
        {9, "code:|009|pfad:|C:\\Bilder\\a.jpg <90%>|", {"C:\\Bilder\\a.jpg <90%>"}},
        {10, "code:|010|xpos:|1|ypos:|2|break:|030|", {"1", "2", "30"}},
    };
    for (const ShowCase& c : cases) {
        scribble();
        show(4, c.record);
        EXPECT_EQ(f().befehl_code, c.code) << c.record;
        EXPECT_EQ(fields(c.code), c.fields) << c.record;
        EXPECT_EQ(slot(4), c.record) << "showing must not write the record back";
    }
}

TEST_F(PanelsTest, APanelShownForARecordOfAnotherCodeGetsItsDefaults) {
    const std::vector<ShowCase> cases{
        {1, "code:|002|xpos:|5|ypos:|6|", {"0", "0"}},
        {2, "code:|001|wait:|5|maxwait:|6|", {"0", "0"}},
        {3, "code:|004|text:|right|", {"2"}},  // the word counts whatever the code
        {4, "code:|001|wait:|5|", {""}},
        {5, "code:|001|wait:|5|maxwait:|6|", {"0", "1"}},
        {6, "code:|001|wait:|5|", {"/daten/Pontrel"}},
        {7, "code:|004|text:|end|", {"4"}},
        {8, "code:|005|start:|/dev/sr1|step:|close|", {"/dev/sr1", "Einziehen"}},
        {9, "code:|001|wait:|5|", {"/daten/Screenshot.bmp"}},
        {10, "code:|001|wait:|5|maxwait:|6|", {"0", "0", "0"}},
    };
    for (const ShowCase& c : cases) {
        scribble();
        show(4, c.record);
        f().aenderung_sperren = true;
        f().befehl_code = c.code;
        f().panels.codesichtbar();
        f().aenderung_sperren = false;
        EXPECT_EQ(fields(c.code), c.fields) << c.code;
    }
}

// A wait record without "maxwait" waits exactly its wait: both boxes show it, never a second
// value the slot kept from an earlier record.
TEST_F(PanelsTest, AWaitWithoutUpperBoundShowsItsWaitInBothBoxes) {
    show(5, "code:|005|start:|0|step:|1|");
    pick(f().com_code, "Zufall Wartezeit");
    EXPECT_EQ(fields(1), (std::vector<std::string>{"0", "0"}));
    f().txt_1_random1.setText("0 ");  // a blank typed after the wait
    EXPECT_EQ(slot(5), "code:|001|wait:|0|");

    for (const char* earlier : {"code:|001|wait:|5|maxwait:|600|", "code:|005|start:|3|step:|1|"}) {
        show(4, earlier);
        show(4, "code:|001|wait:|0250|");
        EXPECT_EQ(fields(1), (std::vector<std::string>{"250", "250"})) << earlier;
    }
}

TEST_F(PanelsTest, OnlyThePanelOfTheCodeIsVisibleWithItsQuestion) {
    struct Visible {
        std::string record;
        std::string question;
        std::set<std::string> controls;
        bool pointerShown;
    };
    const std::vector<Visible> cases{
        {"code:|001|wait:|0|",
         "Welche Zufallszeit soll gewartet werden?",
         {"lbl_1_random", "txt_1_random1", "txt_1_random2", "lbl_1_ms"},
         false},
        {"code:|002|xpos:|0|ypos:|0|",
         "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)",
         {"lbl_2_X", "txt_2_x", "lbl_2_Y", "txt_2_y", "lbl_2_Xpixel", "lbl_2_Ypixel"},
         true},
        {"code:|003|mouseclick:|left|",
         "Mit welcher Taste klicken?",
         {"opt_3_click(0)", "opt_3_click(1)", "opt_3_click(2)"},
         false},
        {"code:|006|pfad:|x|",
         "Welches Programm soll gestartet werden? (Pfadziel des Programmes eingeben)",
         {"lbl_6_pfad", "txt_6_pfad", "cmd_6_pfad"},
         false},
        {"code:|007|pc:|end|",
         "Welchen PC Befehl ausführen?",
         {"opt_7_pc(0)", "opt_7_pc(1)", "opt_7_pc(2)", "opt_7_pc(3)", "opt_7_pc(4)", "opt_7_pc(5)",
          "opt_7_pc(6)"},
         false},
        {"code:|010|xpos:|0|ypos:|0|break:|0|",
         "An welcher X/Y Position soll auf Veränderung geprüft werden? (Enter = Aktuelle Pos.)",
         {"lbl_2_X", "txt_10_x", "lbl_2_Y", "txt_10_y", "lbl_2_Xpixel", "lbl_2_Ypixel",
          "lbl_10_abbruch", "txt_10_abbruch"},
         true},
    };
    for (const Visible& c : cases) {
        show(5, c.record);
        EXPECT_EQ(visiblePanelControls(), c.controls) << c.record;
        EXPECT_EQ(f().lbl_info.caption(), c.question) << c.record;
        EXPECT_EQ(f().Timer_XYPos.enabled(), c.pointerShown) << c.record;
        EXPECT_TRUE(f().com_code.visible());
        EXPECT_FALSE(f().com_code0.visible());
    }
}

TEST_F(PanelsTest, RowZeroShowsTheBasicSettingsWithTheirOwnChooser) {
    show(3, "code:|004|text:|x|");
    click({0});
    EXPECT_TRUE(f().com_code0.visible());
    EXPECT_FALSE(f().com_code.visible());
    EXPECT_EQ(f().com_code0.text(), "Grundeinstellungen");
    EXPECT_EQ(f().lbl_info.caption(), "Welche Grundeinstellungen?");
    EXPECT_TRUE(f().txt_0_wait.visible());
    EXPECT_FALSE(f().txt_4_eingabetext.visible());
    EXPECT_EQ(f().befehl_nr, 0);
    EXPECT_EQ(f().hsc_befehle.value(), 0);
}

TEST_F(PanelsTest, ACodeWithoutPanelHidesAllAndKeepsTheQuestion) {
    for (const double code : {-1.0, 2.5, 11.0}) {
        show(2, "code:|004|text:|x|");
        f().aenderung_sperren = true;
        f().befehl_code = code;
        f().panels.codesichtbar();
        f().aenderung_sperren = false;
        EXPECT_EQ(visiblePanelControls(), std::set<std::string>{}) << code;
        EXPECT_EQ(f().lbl_info.caption(), "Welche Befehle und Buchstaben sollen ausgegeben werden?")
            << code;
    }
}

TEST_F(PanelsTest, ARecordAboveTenShowsNothingOnceThenPanelOne) {
    show(6, "code:|012|wait:|5|");
    EXPECT_EQ(visiblePanelControls(), std::set<std::string>{});
    EXPECT_EQ(slot(6), "code:|001|wait:|0|");
    click({6});
    EXPECT_TRUE(f().txt_1_random1.visible());
}

TEST_F(PanelsTest, AListClickMakesTheRowCurrent) {
    show(7, "code:|002|xpos:|3|ypos:|4|");
    EXPECT_EQ(f().befehl_nr, 7);
    EXPECT_EQ(f().befehl_code, 2);
    EXPECT_EQ(f().hsc_befehle.value(), 7);
    EXPECT_EQ(f().lbl_hscaktuell.caption(), "7");
    EXPECT_EQ(f().com_code.text(), "Mauszeiger zu X/Y Position gehen");
    EXPECT_FALSE(f().auswahl_klick);
    EXPECT_FALSE(f().Timer_combobox.enabled());
}

TEST_F(PanelsTest, ASecondSelectedRowKeepsTheCommandShown) {
    show(2, "code:|004|text:|zwei|");
    f().befehl_zeilen[3] = "code:|002|xpos:|3|ypos:|4|";
    f().records.befehlsliste();
    click({3, 2});
    EXPECT_EQ(f().befehl_nr, 2);
    EXPECT_EQ(f().befehl_code, 4);
    EXPECT_TRUE(f().txt_4_eingabetext.visible());
    EXPECT_EQ(f().txt_4_eingabetext.text(), "zwei");
}

TEST_F(PanelsTest, AClickRaisesALowWaitAndClearsALowRepeatWithoutWritingRecordZero) {
    const std::string record0 = slot(0);
    f().aenderung_sperren = true;
    f().txt_0_wait.setText("5");
    f().txt_0_loop.setText("-3");
    f().aenderung_sperren = false;
    click({1});
    EXPECT_EQ(f().txt_0_wait.text(), "10");
    EXPECT_EQ(f().txt_0_loop.text(), "0");
    EXPECT_EQ(slot(0), record0);

    f().aenderung_sperren = true;
    f().txt_0_wait.setText("12");
    f().txt_0_loop.setText("0.5");
    f().aenderung_sperren = false;
    click({2});
    EXPECT_EQ(f().txt_0_wait.text(), "12");
    EXPECT_EQ(f().txt_0_loop.text(), "0");
}

TEST_F(PanelsTest, TheChooserUpdatePutsBothChoosersOnTheShownCommand) {
    show(2, "code:|004|text:|x|");
    pick(f().com_4_eingabebefehl, "TAB");
    f().aenderung_sperren = true;  // as the list does, so the box keeps its text
    f().txt_4_eingabetext.setText("x");
    f().aenderung_sperren = false;
    show(3, "code:|004|text:|y|");
    EXPECT_EQ(f().com_code.text(), "Tastatur Eingabe");
    EXPECT_EQ(f().com_4_eingabebefehl.text(), "Wähle einen Befehl");
    EXPECT_EQ(slot(3), "code:|004|text:|y|");
    EXPECT_FALSE(f().aenderung_sperren);
}

TEST_F(PanelsTest, SwitchingTheCommandTakesOverThePanelsCurrentValues) {
    show(5, "code:|001|wait:|0|");
    pick(f().com_code, "Mauszeiger zu X/Y Position gehen");
    EXPECT_EQ(slot(5), "code:|002|xpos:|0|ypos:|0|");
    EXPECT_TRUE(f().txt_2_x.visible());
    EXPECT_EQ(f().befehl_code, 2);
    EXPECT_FALSE(f().aenderung_sperren);

    show(2, "code:|002|xpos:|100|ypos:|200|");
    show(3, "code:|001|wait:|0|");
    pick(f().com_code, "Mauszeiger zu X/Y Position gehen");
    EXPECT_EQ(slot(3), "code:|002|xpos:|100|ypos:|200|");

    pick(f().com_code, "Tastatur Eingabe");
    EXPECT_EQ(slot(3), "code:|004|text:||");
    fake.clock.advance(10);
    EXPECT_EQ(f().com_code.text(), "Tastatur Eingabe");
}

TEST_F(PanelsTest, TheChooserChangesNothingDuringPlayback) {
    show(5, "code:|001|wait:|0|");
    f().Timer_startloop.setEnabled(true);
    pick(f().com_code, "Mauszeiger zu X/Y Position gehen");
    EXPECT_EQ(slot(5), "code:|001|wait:|0|");
    EXPECT_TRUE(f().txt_1_random1.visible());
    EXPECT_FALSE(f().aenderung_sperren);
}

TEST_F(PanelsTest, PanelEightRebuildsTheListAndFillsNothingWithoutDrive) {
    f().keine_cd = true;
    f().com_8_move.setListIndex(1);
    show(8, "code:|008|drive:|/dev/sr1|move:|open|");
    EXPECT_EQ(f().com_8_laufwerk.text(), "");
    EXPECT_EQ(f().com_8_move.text(), "Einziehen");
    EXPECT_EQ(f().lst_code.item(8), "008 - code: 008 drive: /dev/sr1 move: open ");
    EXPECT_TRUE(f().lst_code.selected(8));
}

TEST_F(PanelsTest, OnlyTheFirstTwentySixDriveEntriesAreLookedAt) {
    std::vector<std::string> drives;
    for (int i = 0; i < 28; ++i) {
        drives.push_back("/dev/sr" + std::to_string(i));
    }
    f().com_8_laufwerk.setItems(drives);
    show(8, "code:|008|drive:|/dev/sr25|move:|open|");
    EXPECT_EQ(f().com_8_laufwerk.text(), "/dev/sr25");
    show(8, "code:|008|drive:|/dev/sr26|move:|open|");
    EXPECT_EQ(f().com_8_laufwerk.text(), "/dev/sr25");
}

}  // namespace
}  // namespace pontrel
