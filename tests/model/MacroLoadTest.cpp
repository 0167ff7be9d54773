#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/MacroFileFixture.h"
#include "model/RecordFields.h"

namespace pontrel {
namespace {

using test::MacroFileFixture;

const std::string record0 = std::string(defaultBasicSettingsRecord);
const std::string record1 = std::string(defaultRecord);
const std::string move = "code:|002|xpos:|5|ypos:|6|";
const std::string click = "code:|003|mouseclick:|left|";

using MacroLoadTest = MacroFileFixture;

TEST_F(MacroLoadTest, AHeaderNotBeginningWithTheMagicIsRefused) {
    for (const char* header : {".QMC 0000", "qmc 0000", " .qmc 0000", ".qm"}) {
        SCOPED_TRACE(header);
        load("/m/fremd.qmc", fileOf(header, {record0, move}));
        EXPECT_EQ(f().dateipfad, "pontrel.qmc");
        EXPECT_EQ(f().befehl_anzahl, 3);
        EXPECT_EQ(f().befehl_zeilen[1], record1);
        EXPECT_FALSE(f().cmd_load.enabled());
    }
}

TEST_F(MacroLoadTest, RecordsEndAtTheFirstLineThatIsNotARecord) {
    struct Case {
        std::vector<std::string> lines;
        int count;
        std::vector<std::string> slots;  // slots 1 to 4 afterwards
    };
    const std::string comma = "code:|004|text:|a, b,c|";
    const std::vector<Case> cases{
        // Without a key line every record is loaded.
        {{record0, comma, move}, 2, {comma, move, "", ""}},
        // The terminating line and the one after it are stored, neither is counted.
        {{record0, comma, "Code:|003|mouseclick:|left|", move, click},
         1,
         {comma, "Code:|003|mouseclick:|left|", move, ""}},
        {{record0, comma, "", move, click}, 1, {comma, "", move, ""}},
        {{record0, comma, "cod", move}, 1, {comma, "cod", move, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.size());
        for (int slot = 1; slot <= 4; ++slot) {
            f().befehl_zeilen[static_cast<std::size_t>(slot)].clear();
        }
        load("/m/a.qmc", fileOf(".qmc 0000", c.lines));
        EXPECT_EQ(f().befehl_anzahl, c.count);
        EXPECT_EQ(slots(1, 4), c.slots);
        EXPECT_EQ(f().lst_code.listCount(), c.count + 1);
        EXPECT_EQ(f().lst_code.item(1), "001 - code: 004 text: a, b,c ");
    }
}

TEST_F(MacroLoadTest, RecordZeroFillsTheBasicSettingsWithTheWaitClamped) {
    struct Case {
        std::string wait, shown;
    };
    for (const Case& c :
         std::vector<Case>{{"70000", "60000"}, {"-5", "0"}, {"0250", "250"}, {"7", "7"}}) {
        SCOPED_TRACE(c.wait);
        load("/m/a.qmc",
             fileOf(".qmc", {"code:|000|wait:|" + c.wait + "|loop:|04|start:|F6|stop:|F3|"}));
        EXPECT_EQ(f().txt_0_wait.text(), c.shown);
        EXPECT_EQ(f().txt_0_loop.text(), "4");
        EXPECT_EQ(f().befehl_zeilen[0],
                  "code:|000|wait:|" + c.shown + "|loop:|4|start:|F6|stop:|F3|");
        EXPECT_EQ(f().start_taste, "&H75");
        EXPECT_EQ(f().abbruch_taste, "&H72");
        EXPECT_FALSE(f().aenderung_sperren);
    }
}

TEST_F(MacroLoadTest, RecordZeroIsComposedAsBasicSettingsWhateverItsCode) {
    load("/m/a.qmc", macro({"code:|004|text:|x|", move}));
    EXPECT_EQ(f().befehl_zeilen[0], "code:|000|wait:|0|loop:|0|start:|no|stop:|ESC|");
    EXPECT_EQ(f().befehl_code, 0);
    EXPECT_TRUE(f().txt_0_wait.visible());
    EXPECT_FALSE(f().txt_4_eingabetext.visible());
}

TEST_F(MacroLoadTest, AnUnknownHotKeyNameChoosesTheFirstEntry) {
    load("/m/a.qmc", macro({"code:|000|wait:|500|loop:|1|start:|F6|stop:|F3|", move}));
    ASSERT_EQ(f().com_0_startcode.text(), "F6");

    load("/m/b.qmc", macro({"code:|000|wait:|500|loop:|1|start:|F13|stop:|Esc|", click}));
    EXPECT_EQ(f().com_0_startcode.text(), "no");
    EXPECT_EQ(f().com_0_abbruchcode.text(), "ESC");
    EXPECT_EQ(f().start_taste, "&H7C");
    EXPECT_EQ(f().abbruch_taste, "&H1B");
    EXPECT_EQ(f().befehl_zeilen[0], record0);
    EXPECT_EQ(f().befehl_zeilen[1], click);
}

TEST_F(MacroLoadTest, AShorterMacroLeavesTheKeyLineAndTheOldRecordsBehindIt) {
    std::vector<std::string> ten{record0};
    for (int i = 1; i <= 10; ++i) {
        ten.push_back("code:|002|xpos:|" + std::to_string(i) + "|ypos:|0|");
    }
    load("/m/zehn.qmc", macro(ten));
    ASSERT_EQ(f().befehl_anzahl, 10);

    load("/m/drei.qmc", macro({record0, click, click, click}));
    EXPECT_EQ(f().befehl_anzahl, 3);
    EXPECT_EQ(f().txt_befehle.text(), "3");
    EXPECT_EQ(f().hsc_befehle.max(), 3);
    EXPECT_EQ(f().lbl_hscmax.caption(), "3");
    EXPECT_EQ(f().lst_code.listCount(), 4);
    // The key line was decoded like a record: its number is above 10.
    EXPECT_EQ(f().befehl_zeilen[4], record1);
    EXPECT_EQ(slots(5, 10), std::vector<std::string>(ten.begin() + 5, ten.end()));

    f().txt_befehle.setText("10");
    EXPECT_EQ(f().lst_code.item(7), "007 - code: 002 xpos: 7 ypos: 0 ");
}

TEST_F(MacroLoadTest, LoadingMakesRecordZeroCurrentAndEnablesTheEditor) {
    load("/m/a.qmc", macro({record0, move, click}));
    f().hsc_befehle.setValue(2);
    ASSERT_EQ(f().befehl_nr, 2);
    f().cmd_save.setEnabled(false);
    f().lst_code.setEnabled(false);

    f().cmd_load.click();
    EXPECT_EQ(f().befehl_nr, 0);
    EXPECT_EQ(f().befehl_code, 0);
    EXPECT_EQ(f().hsc_befehle.value(), 0);
    EXPECT_EQ(f().lbl_hscaktuell.caption(), "0");
    EXPECT_TRUE(f().lst_code.selected(0));
    EXPECT_TRUE(f().txt_0_wait.visible());
    EXPECT_TRUE(f().cmd_save.enabled());
    EXPECT_TRUE(f().lst_code.enabled());
    EXPECT_TRUE(f().cmd_load.enabled());
}

TEST_F(MacroLoadTest, AFileWithoutRecordsKeepsTheMacroButShowsRecordZero) {
    for (const std::string& bytes :
         {std::string(), fileOf(".qmc 2000", {}),
          fileOf(".qmc 2000", {"key:|0|", "code:|003|mouseclick:|left|"}), std::string("-")}) {
        SCOPED_TRACE(bytes);
        load("pontrel.qmc", macro({record0, move, click}));
        f().hsc_befehle.setValue(2);

        if (bytes == "-") {
            fake.files.files.erase("pontrel.qmc");
            f().cmd_load.click();
        } else {
            load("pontrel.qmc", bytes);
        }
        EXPECT_EQ(f().befehl_anzahl, 2);
        EXPECT_EQ(slots(0, 3), (std::vector<std::string>{record0, move, click, record1}));
        EXPECT_EQ(f().befehl_nr, 0);
        EXPECT_TRUE(f().txt_0_wait.visible());
        EXPECT_FALSE(f().run.running());
    }
}

TEST_F(MacroLoadTest, AReadErrorKeepsTheRecordsReadBeforeIt) {
    const std::string tooLong = "code:|004|text:|" + std::string(maxLineBytes, 'x') + "|";
    load("/m/a.qmc", fileOf(".qmc", {record0, move, tooLong, click}));
    EXPECT_EQ(f().befehl_anzahl, 1);
    EXPECT_EQ(f().befehl_zeilen[1], move);
}

TEST_F(MacroLoadTest, AtMostTheLastSlotIsFilledAndTheCountBoxCapsTheCount) {
    std::vector<std::string> lines{record0};
    for (int i = 1; i <= 32005; ++i) {
        lines.push_back("code:|002|xpos:|" + std::to_string(i) + "|ypos:|0|");
    }
    load("/m/gross.qmc", fileOf(".qmc", lines));
    EXPECT_EQ(f().befehl_zeilen[32001], lines[32001]);
    EXPECT_EQ(f().befehl_anzahl, 32000);
    EXPECT_EQ(f().txt_befehle.text(), "32000");
    EXPECT_EQ(f().hsc_befehle.max(), 32000);
    EXPECT_EQ(f().lst_code.listCount(), 1000);
}

}  // namespace
}  // namespace pontrel
