#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/EditorFixture.h"
#include "model/Cp1252.h"
#include "model/MacroFile.h"

namespace pontrel {
namespace {

using test::EditorFixture;
using ComposerTest = EditorFixture;

TEST_F(ComposerTest, ATooLargeLowerBoundIsCutAndTheUpperBoundFollows) {
    show(1, "code:|001|wait:|0|");
    f().txt_1_random1.setText("70000");
    EXPECT_EQ(f().txt_1_random1.text(), "60000");
    EXPECT_EQ(f().txt_1_random2.text(), "60000");
    EXPECT_EQ(slot(1), "code:|001|wait:|60000|");
    EXPECT_EQ(f().befehl_wert1[1], "60000");
}

TEST_F(ComposerTest, TheBoundsFollowEachOther) {
    show(1, "code:|001|wait:|0|");
    f().txt_1_random1.setText("500");
    EXPECT_EQ(f().txt_1_random2.text(), "500");
    f().txt_1_random2.setText("200");
    EXPECT_EQ(f().txt_1_random1.text(), "200");
    EXPECT_EQ(slot(1), "code:|001|wait:|200|");
    f().txt_1_random2.setText("900");
    EXPECT_EQ(f().txt_1_random1.text(), "200");
    EXPECT_EQ(slot(1), "code:|001|wait:|200|maxwait:|900|");
    EXPECT_EQ(f().lst_code.item(1), "001 - code: 001 wait: 200 maxwait: 900 ");
    EXPECT_TRUE(f().lst_code.selected(1));
    f().txt_1_random2.setText("-5");
    EXPECT_EQ(f().txt_1_random2.text(), "0");
    EXPECT_EQ(f().txt_1_random1.text(), "0");
    EXPECT_EQ(slot(1), "code:|001|wait:|0|");
}

TEST_F(ComposerTest, NumberFieldsAreWrittenByTheNumberRule) {
    struct Case {
        std::string record;
        TextBox* box;
        std::string typed;
        std::string written;
    };
    const std::vector<Case> cases{
        {"code:|002|xpos:|1|ypos:|2|", &f().txt_2_y, "", "code:|002|xpos:|1|ypos:|0|"},
        {"code:|002|xpos:|1|ypos:|2|", &f().txt_2_y, "-40", "code:|002|xpos:|1|ypos:|-40|"},
        {"code:|002|xpos:|1|ypos:|2|", &f().txt_2_x, "0500", "code:|002|xpos:|500|ypos:|2|"},
        {"code:|005|start:|0|step:|1|", &f().txt_5_start, "3 000",
         "code:|005|start:|3000|step:|1|"},
        {"code:|005|start:|0|step:|1|", &f().txt_5_hochzählen, "12ab",
         "code:|005|start:|0|step:|12|"},
        {"code:|010|xpos:|1|ypos:|2|break:|3|", &f().txt_10_x, "&H10",
         "code:|010|xpos:|16|ypos:|2|break:|3|"},
        {"code:|010|xpos:|1|ypos:|2|break:|3|", &f().txt_10_y, "-8",
         "code:|010|xpos:|1|ypos:|-8|break:|3|"},
    };
    for (const Case& c : cases) {
        show(6, c.record);
        c.box->setText(c.typed);
        EXPECT_EQ(slot(6), c.written) << c.typed;
        EXPECT_EQ(c.box->text(), c.typed) << "the box keeps what was typed";
    }
}

TEST_F(ComposerTest, ANegativeTimeOutBecomesZero) {
    show(4, "code:|010|xpos:|1|ypos:|2|break:|30|");
    f().txt_10_abbruch.setText("-1");
    EXPECT_EQ(f().txt_10_abbruch.text(), "0");
    EXPECT_EQ(slot(4), "code:|010|xpos:|1|ypos:|2|break:|0|");
}

TEST_F(ComposerTest, FreeTextLosesFieldAndLineBreaks) {
    struct Case {
        std::string record;
        TextBox* box;
        std::string key;
    };
    const std::vector<Case> boxes{
        {"code:|004|text:|x|", &f().txt_4_eingabetext, "code:|004|text:|"},
        {"code:|006|pfad:|x|", &f().txt_6_pfad, "code:|006|pfad:|"},
        {"code:|009|pfad:|x|", &f().txt_9_pfad, "code:|009|pfad:|"},
    };
    for (const Case& c : boxes) {
        for (const std::string typed : {"a|b", "a\r\nb", "|a\rb\n|"}) {
            show(2, c.record);
            c.box->setText(typed);
            EXPECT_EQ(c.box->text(), "ab") << c.key;
            EXPECT_EQ(slot(2), c.key + "ab|") << c.key;
        }
        c.box->setText("");
        EXPECT_EQ(slot(2), c.key + "|");
    }
}

TEST_F(ComposerTest, FreeTextIsCutSoTheLineLoadsBack) {
    show(2, "code:|004|text:|x|");
    std::string umlauts;
    for (std::size_t i = 0; i < maxFieldCharacters + 3; ++i) {
        umlauts += "ä";
    }
    f().txt_4_eingabetext.setText(umlauts + "|");
    EXPECT_EQ(countCharacters(f().txt_4_eingabetext.text()), maxFieldCharacters);
    EXPECT_EQ(f().befehl_wert1[2], f().txt_4_eingabetext.text());

    // Characters of four bytes reach the byte bound first: the line must still load back.
    std::string emoji;
    for (std::size_t i = 0; i < maxFieldCharacters; ++i) {
        emoji += "\U0001F600";
    }
    f().txt_4_eingabetext.setText(emoji);
    EXPECT_LE(f().txt_4_eingabetext.text().size(), maxFieldBytes);
    EXPECT_LE(f().befehl_zeilen[2].size() + 2, maxLineBytes);
}

TEST_F(ComposerTest, TextTypedDuringPlaybackNeverReachesARecordUncleaned) {
    show(2, "code:|001|wait:|0|");
    f().Timer_startloop.setEnabled(true);
    f().txt_4_eingabetext.setText("a|b\nc");
    f().Timer_startloop.setEnabled(false);
    pick(f().com_code, "Tastatur Eingabe");
    EXPECT_EQ(slot(2), "code:|004|text:|abc|");
}

TEST_F(ComposerTest, DuringPlaybackTypingChangesTheBoxesOnly) {
    show(3, "code:|001|wait:|100|maxwait:|200|");
    const std::vector<std::string> records(f().befehl_zeilen.begin(),
                                           f().befehl_zeilen.begin() + 11);
    const std::vector<std::string> lines = f().lst_code.items();
    f().Timer_startloop.setEnabled(true);

    f().txt_1_random1.setText("900");
    EXPECT_EQ(f().txt_1_random2.text(), "900");  // the bounds still follow each other
    f().txt_1_random1.setText("70000");
    EXPECT_EQ(f().txt_1_random1.text(), "70000");  // but nothing is corrected
    f().txt_2_x.setText("7");
    f().txt_4_eingabetext.setText("a|b");
    EXPECT_EQ(f().txt_4_eingabetext.text(), "a|b");
    f().txt_10_abbruch.setText("-1");
    EXPECT_EQ(f().txt_10_abbruch.text(), "-1");
    f().opt_7_pc.select(3);
    f().com_8_move.setListIndex(1);
    f().befehl_code = 2;
    f().composer.schreibebefehl();

    EXPECT_EQ(std::vector<std::string>(f().befehl_zeilen.begin(), f().befehl_zeilen.begin() + 11),
              records);
    EXPECT_EQ(f().lst_code.items(), lines);
}

TEST_F(ComposerTest, OptionGroupsWriteTheirWordAndRememberIt) {
    show(4, "code:|003|mouseclick:|left|");
    f().opt_3_click.select(1);
    EXPECT_EQ(slot(4), "code:|003|mouseclick:|middle|");
    EXPECT_EQ(f().klick_art, "middle");

    show(5, "code:|007|pc:|lockpc|");
    f().opt_7_pc[6].click();
    EXPECT_EQ(slot(5), "code:|007|pc:|input-enable|");
    EXPECT_EQ(f().pc_befehl, "input-enable");
}

TEST_F(ComposerTest, TheDriveChoosersWaitUntilAListClickIsTakenOver) {
    f().com_8_laufwerk.setItems({"/dev/sr0", "/dev/sr1"});
    show(7, "code:|008|drive:|/dev/sr0|move:|open|");
    f().auswahl_klick = true;
    f().com_8_move.setText("Einziehen");
    f().com_8_laufwerk.setText("/dev/sr1");
    EXPECT_EQ(slot(7), "code:|008|drive:|/dev/sr0|move:|open|");
    f().auswahl_klick = false;
    f().com_8_move.setText("Auswerfen");
    EXPECT_EQ(slot(7), "code:|008|drive:|/dev/sr1|move:|open|");
    f().com_8_move.setText("Einziehen");
    EXPECT_EQ(slot(7), "code:|008|drive:|/dev/sr1|move:|close|");
}

TEST_F(ComposerTest, WithoutADriveTheDriveIsWrittenEmpty) {
    f().com_8_laufwerk.clear();
    show(7, "code:|001|wait:|0|");
    pick(f().com_code, "CD-Laufwerk öffnen/schließen");
    EXPECT_EQ(slot(7), "code:|008|drive:||move:|open|");
}

TEST_F(ComposerTest, TheBasicSettingsRecordAlwaysGoesToSlotZero) {
    show(2, "code:|004|text:|x|");
    f().aenderung_sperren = true;
    f().txt_0_wait.setText("0700");
    f().txt_0_loop.setText("");
    f().aenderung_sperren = false;
    f().start_tastenname = "F6";
    f().befehl_code = 0;
    f().composer.schreibebefehl();
    EXPECT_EQ(slot(0), "code:|000|wait:|700|loop:|0|start:|F6|stop:|ESC|");
    EXPECT_EQ(slot(2), "code:|004|text:|x|");
    EXPECT_EQ(f().lst_code.item(0), "000 - code: 000 wait: 700 loop: 0 start: F6 stop: ESC ");
}

}  // namespace
}  // namespace pontrel
