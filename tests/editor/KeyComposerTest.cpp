#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/EditorFixture.h"

namespace pontrel {
namespace {

struct KeyComposerTest : test::EditorFixture {
    void SetUp() override {
        EditorFixture::SetUp();
        show(2, "code:|004|text:||");
    }

    // Picks entries one after another, each after the chooser went back to its prompt.
    void pickKeys(const std::vector<std::string>& entries) {
        for (const std::string& entry : entries) {
            pick(f().com_4_eingabebefehl, entry);
            fake.clock.advance(10);
            ASSERT_EQ(f().com_4_eingabebefehl.text(), "Wähle einen Befehl");
        }
    }
};

TEST_F(KeyComposerTest, PickedKeysAreAppendedAsTokens) {
    struct Case {
        std::string before;
        std::vector<std::string> entries;
        std::string after;
    };
    const std::vector<Case> cases{
        {"", {"Eingabetaste", "Eingabetaste"}, "{ENTER}{ENTER}"},
        {"", {"{", "}"}, "{{}{}}"},
        {"abc", {"TAB"}, "abc{TAB}"},
        {"Hallo", {"Alt Gr", "F12", "CODE5"}, "Hallo{ALTGR}{F12}{CODE5}"},
    };
    for (const Case& c : cases) {
        f().txt_4_eingabetext.setText(c.before);
        pickKeys(c.entries);
        EXPECT_EQ(f().txt_4_eingabetext.text(), c.after);
        EXPECT_EQ(slot(2), "code:|004|text:|" + c.after + "|");
    }
}

TEST_F(KeyComposerTest, ThePromptAddsNothing) {
    f().txt_4_eingabetext.setText("abc");
    pick(f().com_4_eingabebefehl, "TAB");
    pick(f().com_4_eingabebefehl, "Wähle einen Befehl");
    EXPECT_EQ(f().txt_4_eingabetext.text(), "abc{TAB}");
    EXPECT_TRUE(f().Timer_combobox.enabled());
    fake.clock.advance(10);
    EXPECT_FALSE(f().Timer_combobox.enabled());
}

TEST_F(KeyComposerTest, DuringPlaybackTheBoxGrowsButTheRecordStays) {
    f().Timer_startloop.setEnabled(true);
    pick(f().com_4_eingabebefehl, "ESC");
    EXPECT_EQ(f().txt_4_eingabetext.text(), "{ESC}");
    EXPECT_EQ(slot(2), "code:|004|text:||");
}

}  // namespace
}  // namespace pontrel
