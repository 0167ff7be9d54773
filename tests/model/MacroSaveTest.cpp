#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/MacroFileFixture.h"
#include "model/RecordFields.h"

namespace pontrel {
namespace {

using test::MacroFileFixture;
using test::Transcript;

const std::string record0 = std::string(defaultBasicSettingsRecord);
const std::string record1 = std::string(defaultRecord);

using MacroSaveTest = MacroFileFixture;

TEST_F(MacroSaveTest, TheStartMacroIsSixLinesClosedByItsKeyLine) {
    f().cmd_save.click();
    EXPECT_EQ(fake.files.files.at("pontrel.qmc"), macroFileHeader() + "\r\n" + record0 + "\r\n" +
                                                      record1 + "\r\n" + record1 + "\r\n" +
                                                      record1 + "\r\nkey:|1222|\r\n");
    EXPECT_TRUE(f().cmd_load.enabled());
    EXPECT_TRUE(fake.take().empty());  // no question, no message

    f().befehl_anzahl = 0;
    f().cmd_save.click();
    EXPECT_EQ(fake.files.files.at("pontrel.qmc"),
              macroFileHeader() + "\r\n" + record0 + "\r\nkey:|0|\r\n");
}

TEST_F(MacroSaveTest, SavingRaisesTheWaitAndTheRepeatCountIntoRecordZero) {
    struct Case {
        int current;
        std::string wait, loop, waitAfter, loopAfter;
    };
    for (const Case& c : std::vector<Case>{{0, "5", "-3", "10", "0"},
                                           {2, "", "-0.5", "10", "0"},
                                           {0, "9.5", "0.5", "10", "0.5"},
                                           {0, "10", "0", "10", "0"}}) {
        SCOPED_TRACE(c.wait + " / " + c.loop);
        f().hsc_befehle.setValue(c.current);
        f().txt_0_wait.setText(c.wait);
        f().txt_0_loop.setText(c.loop);
        f().cmd_save.click();
        EXPECT_EQ(f().txt_0_wait.text(), c.waitAfter);
        EXPECT_EQ(f().txt_0_loop.text(), c.loopAfter);
        const std::string written = "code:|000|wait:|" + c.waitAfter + "|loop:|" + c.loopAfter +
                                    "|start:|no|stop:|ESC|\r\n";
        EXPECT_NE(fake.files.files.at("pontrel.qmc").find(written), std::string::npos);
    }
}

TEST_F(MacroSaveTest, AFailedSaveKeepsTheOldFileAndSaysSo) {
    fake.files.files["/m/alt.qmc"] = "alter Inhalt";
    f().dateipfad = "/m/alt.qmc";

    fake.files.unwritable.insert("/m/alt.qmc");
    f().cmd_save.click();
    EXPECT_EQ(fake.files.files.at("/m/alt.qmc"), "alter Inhalt");
    const Transcript message{
        "message \"Die Datei konnte nicht gespeichert werden:\n/m/alt.qmc\" title \"Pontrel\" ok "
        "critical"};
    EXPECT_EQ(fake.take(), message);
    EXPECT_TRUE(f().cmd_load.enabled());

    // A line the reader would not take back is not written either.
    fake.files.unwritable.clear();
    f().befehl_zeilen[2] = "code:|004|text:|" + std::string(maxLineBytes, 'x') + "|";
    f().cmd_save.click();
    EXPECT_EQ(fake.files.files.at("/m/alt.qmc"), "alter Inhalt");
    EXPECT_EQ(fake.take(), message);
}

TEST_F(MacroSaveTest, SaveAsTakesThePathAsChosen) {
    fake.dialogs.chosenFiles = {"/m/neu"};
    f().cmd_save2.click();
    EXPECT_EQ(f().dateipfad, "/m/neu");
    EXPECT_EQ(fake.files.files.count("/m/neu"), 1u);
    EXPECT_EQ(fake.files.files.count("/m/neu.qmc"), 0u);
    EXPECT_EQ(fake.take(), Transcript{"save dialog comdia_pontrel \".qmc|*.qmc\" \"\""});
}

TEST_F(MacroSaveTest, CancelledDialogsChangeNothing) {
    fake.files.files["/m/a.qmc"] = macro({record0, "code:|002|xpos:|1|ypos:|2|"});
    fake.dialogs.chosenFiles = {"/m/a.qmc"};
    f().cmd_load2.click();
    ASSERT_EQ(f().befehl_anzahl, 1);
    f().dateipfad = "/m/b.qmc";
    fake.files.files["/m/a.qmc"] = macro({record0, record1, record1});
    const auto files = fake.files.files;
    fake.take();

    f().cmd_load2.click();
    f().cmd_save2.click();
    EXPECT_EQ(fake.take(), (Transcript{"open dialog comdia_pontrel \".qmc|*.qmc\" \"/m/a.qmc\"",
                                       "save dialog comdia_pontrel \".qmc|*.qmc\" \"/m/a.qmc\""}));
    EXPECT_EQ(f().dateipfad, "/m/b.qmc");
    EXPECT_EQ(f().comdia_pontrel.fileName, "/m/a.qmc");
    EXPECT_EQ(f().befehl_anzahl, 1);
    EXPECT_EQ(fake.files.files, files);
}

TEST_F(MacroSaveTest, GermanAndUndefinedBytesComeBackByteForByte) {
    // ä ö ü ß € and the five bytes Windows-1252 leaves undefined.
    const std::string text = "code:|004|text:|\xE4\xF6\xFC\xDF \x80 \x81\x8D\x8F\x90\x9D|";
    const std::string inside = "code:|004|text:|äöüß € \u0081\u008D\u008F\u0090\u009D|";
    const std::string bytes =
        fileOf(macroFileHeader(), {record0, text, keyLine(macroChecksum({record0, inside}))});
    load("/m/umlaute.qmc", bytes);
    EXPECT_EQ(f().befehl_zeilen[1], inside);

    f().cmd_save.click();
    EXPECT_EQ(fake.files.files.at("/m/umlaute.qmc"), bytes);
}

TEST_F(MacroSaveTest, ACharacterBeyondWindows1252SurvivesSaveAndLoad) {
    const std::string chinese = "code:|004|text:|中文 Grüße €|";
    f().befehl_zeilen[2] = chinese;
    f().cmd_save.click();
    EXPECT_NE(fake.files.files.at("pontrel.qmc").find(chinese + "\r\n"), std::string::npos);

    f().befehl_zeilen[2] = record1;
    f().cmd_load.click();
    EXPECT_EQ(f().befehl_zeilen[2], chinese);
}

TEST_F(MacroSaveTest, SavedLoadedAndSavedAgainIsByteIdentical) {
    const std::vector<std::string> records{
        "code:|000|wait:|250|loop:|3|start:|F6|stop:|F3|",
        "code:|001|wait:|200|maxwait:|800|",
        "code:|002|xpos:|100|ypos:|200|",
        "code:|003|mouseclick:|right|",
        "code:|004|text:|Hallo, \"Welt\" {ENTER}+a|",
        "code:|005|start:|7|step:|2|",
        "code:|006|pfad:|/usr/bin/xterm -e top|",
        "code:|007|pc:|screenoff|",
        "code:|009|pfad:|/m/bild.jpg <90%>|",
        "code:|010|xpos:|1|ypos:|2|break:|30|",
    };
    load("/m/alle.qmc", macro(records));
    f().cmd_save.click();
    const std::string first = fake.files.files.at("/m/alle.qmc");
    EXPECT_EQ(first, macro(records));

    f().cmd_load.click();
    f().cmd_save.click();
    EXPECT_EQ(fake.files.files.at("/m/alle.qmc"), first);
}

}  // namespace
}  // namespace pontrel
