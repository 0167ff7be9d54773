#include "model/RecordFields.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pontrel {
namespace {

using Opt = std::optional<std::string>;

TEST(SplitRecord, BasicSettingsRecord) {
    const RecordFields f = splitRecord(defaultBasicSettingsRecord);
    EXPECT_EQ(f.codeText, Opt("000"));
    EXPECT_EQ(f.value1, Opt("500"));
    EXPECT_EQ(f.value2, Opt("1"));
    EXPECT_EQ(f.value3, Opt("no"));
    EXPECT_EQ(f.value4, Opt("ESC"));
    EXPECT_EQ(f.value(3), Opt("no"));
    EXPECT_EQ(f.value(0), std::nullopt);
    EXPECT_EQ(f.value(5), std::nullopt);
}

TEST(SplitRecord, OnlyFieldsPresentAreReported) {
    const RecordFields f = splitRecord(defaultRecord);
    EXPECT_EQ(f.codeText, Opt("001"));
    EXPECT_EQ(f.value1, Opt("0"));
    EXPECT_EQ(f.value2, std::nullopt);
    EXPECT_EQ(f.value3, std::nullopt);
    EXPECT_EQ(f.value4, std::nullopt);

    const RecordFields two = splitRecord("code:|002|xpos:|7|ypos:|9|");
    EXPECT_EQ(two.value2, Opt("9"));
    EXPECT_EQ(two.value3, std::nullopt);
}

TEST(SplitRecord, KeyNamesAreNotLookedAt) {
    const RecordFields f = splitRecord("code:|002|a:|5|b:|6|");
    EXPECT_EQ(f.codeText, Opt("002"));
    EXPECT_EQ(f.value1, Opt("5"));
    EXPECT_EQ(f.value2, Opt("6"));
    const RecordFields g = splitRecord("xyz|002||5|");
    EXPECT_EQ(g.codeText, Opt("002"));
    EXPECT_EQ(g.value1, Opt("5"));
}

TEST(SplitRecord, ExtraBarsShiftTheFields) {
    // The text value "a|b" cannot come from the editor; by position its first value is "a".
    const RecordFields f = splitRecord("code:|004|text:|a|b|");
    EXPECT_EQ(f.codeText, Opt("004"));
    EXPECT_EQ(f.value1, Opt("a"));
    EXPECT_EQ(f.value2, std::nullopt);
}

TEST(SplitRecord, BarsFromTheTenthOnAreIgnored) {
    const RecordFields f = splitRecord("c|0|k|1|k|2|k|3|k|4|k|5|k|6|");
    EXPECT_EQ(f.codeText, Opt("0"));
    EXPECT_EQ(f.value1, Opt("1"));
    EXPECT_EQ(f.value4, Opt("4"));
    const RecordFields g = splitRecord("|||||||||||||||");
    EXPECT_EQ(g.codeText, Opt(""));
    EXPECT_EQ(g.value4, Opt(""));
}

TEST(SplitRecord, MissingFieldsAreAbsent) {
    const RecordFields empty = splitRecord("");
    EXPECT_EQ(empty.codeText, std::nullopt);
    EXPECT_EQ(empty.value1, std::nullopt);
    EXPECT_EQ(splitRecord("no bars at all").codeText, std::nullopt);
    EXPECT_EQ(splitRecord("code:|001").codeText, std::nullopt);
    const RecordFields f = splitRecord("code:|011|wait:|0");
    EXPECT_EQ(f.codeText, Opt("011"));
    EXPECT_EQ(f.value1, std::nullopt);
    EXPECT_EQ(splitRecord("key:|1222|").codeText, Opt("1222"));
}

TEST(SplitRecord, FreeTextKeepsCommasQuotesAndBlanks) {
    const RecordFields f = splitRecord("code:|004|text:|Hallo, \"Welt\" {ENTER}|");
    EXPECT_EQ(f.value1, Opt("Hallo, \"Welt\" {ENTER}"));
    EXPECT_EQ(splitRecord("code:|008|drive:|E:\\|move:|open|").value1, Opt("E:\\"));
}

TEST(ListLine, IndexPatternAndBlanksForBars) {
    EXPECT_EQ(listLine(2, "code:|002|xpos:|100|ypos:|200|"),
              "002 - code: 002 xpos: 100 ypos: 200 ");
    EXPECT_EQ(listLine(0, defaultBasicSettingsRecord),
              "000 - code: 000 wait: 500 loop: 1 start: no stop: ESC ");
    EXPECT_EQ(listLine(7, defaultRecord), "007 - code: 001 wait: 0 ");
    EXPECT_EQ(listLine(999, ""), "999 - ");
    EXPECT_EQ(listLine(1000, "x"), "1000 - x");
    EXPECT_EQ(listLine(32001, "a|b"), "32001 - a b");
    EXPECT_EQ(listLine(-5, ""), "-005 - ");
}

}  // namespace
}  // namespace pontrel
