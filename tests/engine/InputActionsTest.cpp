#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"
#include "engine/TextSubstitution.h"

namespace pontrel {
namespace {

using test::EngineFixture;
using test::Transcript;

using InputActionsTest = EngineFixture;

TEST_F(InputActionsTest, PointerCoordinatesRoundHalfToEvenAndSaturate) {
    EXPECT_EQ(step("code:|002|xpos:|10.5|ypos:|11.5|"), Transcript{"move 10,12"});
    EXPECT_EQ(step("code:|002|xpos:|1e20|ypos:|-1e20|"), Transcript{"move 2147483647,-2147483648"});
    EXPECT_EQ(step("code:|002|xpos:|abc|ypos:|&H10|"), Transcript{"move 0,16"});
}

TEST_F(InputActionsTest, ClickWordsAreExactAndCaseSensitive) {
    struct Case {
        std::string word;
        Transcript sent;
    };
    for (const Case& c : std::vector<Case>{{"left", {"mouse 2", "mouse 4"}},
                                           {"right", {"mouse 8", "mouse 16"}},
                                           {"middle", {"mouse 32", "mouse 64"}},
                                           {"Left", {}},
                                           {"right ", {}},
                                           {"", {}}}) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(step("code:|003|mouseclick:|" + c.word + "|"), c.sent);
    }
    f().input.MouseClick(3);
    EXPECT_EQ(fake.take(), Transcript{});
}

TEST_F(InputActionsTest, TypedTextIsEscapedThenItsTokensBecomePrefixes) {
    struct Case {
        std::string text;
        std::string stored;
        Transcript sent;
    };
    const std::vector<Case> cases{
        {"1+1=2 (ok)",
         "1{+}1=2 {(}ok{)}",
         {"type 1", "type +", "type 1", "type =", "type 2", "type  ", "type (", "type o", "type k",
          "type )"}},
        {"{SHIFT}a{CTRL}c",
         "+a^c",
         {"down Shift", "type a", "up Shift", "down Ctrl", "type c", "up Ctrl"}},
        {"{ALTGR}q", "^%q", {"down Ctrl", "down Alt", "type q", "up Alt", "up Ctrl"}},
        {"5%~^", "5{%}{~}{^}", {"type 5", "type %", "type ~", "type ^"}},
        {"{ENTER}{{}", "{ENTER}{{}", {"tap Enter", "type {"}},
        {"{CODE5}-{code5}", "0-0", {"type 0", "type -", "type 0"}},
        // Not a counter token and not a key name: the text is rejected and nothing is typed.
        {"{Code5}", "{Code5}", {}},
        {"a{", "a{", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(step("code:|004|text:|" + c.text + "|"), c.sent);
        EXPECT_EQ(f().befehl_wert1[1], c.stored);
    }
}

TEST_F(InputActionsTest, TheCounterSubstitutedIntoTextIsNotEscaped) {
    f().zaehler_wert = -2.5;
    EXPECT_EQ(keyTextToSend("{CODE5}+", "-2,5"), "-2,5{+}");
    EXPECT_EQ(step("code:|004|text:|{code5}|"),
              (Transcript{"type -", "type 2", "type ,", "type 5"}));
}

TEST_F(InputActionsTest, OneCounterServesTheWholeRunAcrossEntriesAndPasses) {
    macro({basicSettings("100", "2"), "code:|005|start:|10|step:|5|"});
    f().cmd_start.click();
    EXPECT_EQ(runToEnd(), (Transcript{"clipboard clear", "clipboard \"10\"", "clipboard clear",
                                      "clipboard \"15\"", "clipboard clear", "clipboard \"20\"",
                                      "release input", "drain queued input"}));
    // A second entry with its own start continues from the counter.
    step("code:|005|start:|100|step:|1|");
    EXPECT_EQ(fake.clipboard.text, "25");

    // A new run starts the counter afresh.
    macro({basicSettings("100", "0"), "code:|005|start:|3|step:|1|"});
    f().cmd_start.click();
    runToEnd();
    EXPECT_EQ(fake.clipboard.text, "3");
}

TEST_F(InputActionsTest, TheCounterStaysWithinFourteenNines) {
    const std::vector<std::string> upwards{"99999999999990", "99999999999995", "99999999999999",
                                           "99999999999999"};
    for (const std::string& expected : upwards) {
        step("code:|005|start:|99999999999990|step:|5|");
        EXPECT_EQ(fake.clipboard.text, expected);
    }
    f().zaehler_neu = true;
    step("code:|005|start:|-1e30|step:|-1|");
    EXPECT_EQ(fake.clipboard.text, "-99999999999999");
}

TEST_F(InputActionsTest, FractionalStepsUseTheLocaleDecimalSeparator) {
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        step("code:|005|start:|0|step:|0.1|");
        seen.push_back(fake.clipboard.text);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"0", "0,1", "0,2", "0,3"}));
}

}  // namespace
}  // namespace pontrel
