#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

using test::FormFixture;

const std::vector<std::string> defaultListLines{
    "000 - code: 000 wait: 500 loop: 1 start: no stop: ESC ",
    "001 - code: 001 wait: 0 ",
    "002 - code: 001 wait: 0 ",
    "003 - code: 001 wait: 0 ",
};

using StartupTest = FormFixture;

TEST_F(StartupTest, FreshStartShowsTheDefaultMacroWithBasicSettingsCurrent) {
    start();
    EXPECT_EQ(f().lst_code.items(), defaultListLines);
    EXPECT_TRUE(f().lst_code.selected(0));
    EXPECT_EQ(f().befehl_zeilen[0], "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");
    EXPECT_EQ(f().befehl_anzahl, 3);
    EXPECT_EQ(f().befehl_nr, 0);
    EXPECT_FALSE(f().aenderung_sperren);
    EXPECT_FALSE(f().cmd_load.enabled());
    EXPECT_EQ(f().dateipfad, "pontrel.qmc");
    EXPECT_EQ(f().start_taste, "&H7C");
    EXPECT_EQ(f().abbruch_taste, "&H1B");
    EXPECT_EQ(f().com_0_startcode.text(), "no");
    EXPECT_EQ(f().com_0_abbruchcode.text(), "ESC");
    EXPECT_EQ(f().com_code.text(), "Zufall Wartezeit");
    EXPECT_TRUE(f().com_code0.visible());
    EXPECT_FALSE(f().com_code.visible());
    EXPECT_EQ(f().txt_6_pfad.text(), "/daten/Pontrel");
    EXPECT_EQ(f().txt_9_pfad.text(), "/daten/screenshot.bmp");
    EXPECT_EQ(f().anzeige_grenze, 999);
    EXPECT_EQ(f().befehl_maximum, 32000);
    EXPECT_EQ(f().hoechster_code, 10);
}

TEST_F(StartupTest, StartUpPaintsColourSchemeTwo) {
    start();
    EXPECT_EQ(f().frm_pontrel.backColour(), 14741536);
    EXPECT_EQ(f().frame_brantsoft.backColour(), 14741536);
    EXPECT_EQ(f().opt_3_click[2].backColour(), 14741536);
    EXPECT_EQ(f().opt_7_pc[6].backColour(), 14741536);
    EXPECT_EQ(f().img_pontrel.picture(), f().img_versionspontrel_1.picture());
    EXPECT_EQ(f().frm_pontrel.caption(), "Pontrel");
}

TEST_F(StartupTest, DefaultFileInTheCurrentDirectoryEnablesLoading) {
    fake.files.files["pontrel.qmc"] = ".qmc 0000 Pontrel Version 1.2.2\r\n";
    start();
    EXPECT_TRUE(f().cmd_load.enabled());
}

TEST_F(StartupTest, OnlyTheBasicSettingsPanelIsVisible) {
    start();
    EXPECT_TRUE(f().txt_0_wait.visible());
    EXPECT_TRUE(f().com_0_abbruchcode.visible());
    EXPECT_FALSE(f().txt_1_random1.visible());
    EXPECT_FALSE(f().opt_7_pc[3].visible());
    EXPECT_FALSE(f().txt_10_abbruch.visible());
    EXPECT_EQ(f().lbl_info.caption(), "Welche Grundeinstellungen?");
}

TEST_F(StartupTest, NeuRestoresTheStartStateAfterEdits) {
    start();
    f().befehl_zeilen[3] = "code:|002|xpos:|1|ypos:|2|";
    f().befehl_zeilen[7] = "code:|004|text:|x|";
    f().befehl_wert3[5] = "30";
    f().befehl_anzahl = 7;
    f().dateipfad = "anders.qmc";
    f().txt_0_wait.setText("900");
    f().txt_4_eingabetext.setText("Hallo");
    f().chk_0_listbox.setValue(0);

    f().cmd_neu.click();

    EXPECT_EQ(f().lst_code.items(), defaultListLines);
    EXPECT_EQ(f().dateipfad, "pontrel.qmc");
    EXPECT_EQ(f().befehl_anzahl, 3);
    EXPECT_EQ(f().txt_befehle.text(), "3");
    EXPECT_EQ(f().hsc_befehle.max(), 3);
    EXPECT_EQ(f().befehl_zeilen[7], "");
    EXPECT_EQ(f().befehl_wert3[5], "30");  // the third and fourth values are kept
    EXPECT_EQ(f().txt_4_eingabetext.text(), "");
    EXPECT_EQ(f().chk_0_listbox.value(), 1);
    EXPECT_EQ(f().txt_9_pfad.text(), "/daten/Screenshot.bmp");
    EXPECT_FALSE(f().cmd_load.enabled());
    EXPECT_FALSE(f().aenderung_sperren);
}

TEST_F(StartupTest, NeuEnablesLoadingWhenTheDefaultFileExists) {
    start();
    fake.files.files["pontrel.qmc"] = ".qmc 0000\r\n";
    f().cmd_neu.click();
    EXPECT_TRUE(f().cmd_load.enabled());
}

TEST_F(StartupTest, ClosingReleasesTheInputBlockBeforeTheProcessEnds) {
    start();
    f().lifecycle.Form_Unload();
    EXPECT_EQ(fake.take(), (test::Transcript{"release input", "exit 0"}));
}

}  // namespace
}  // namespace pontrel
