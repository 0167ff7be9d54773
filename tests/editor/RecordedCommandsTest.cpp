#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/RecordedCommands.h"

namespace pontrel {
namespace {

using Kind = RecordedInput::Kind;

constexpr auto click = &RecordedInput::click;

RecordedInput character(std::int64_t time, std::string text, bool ctrl = false, bool alt = false) {
    RecordedInput input = RecordedInput::pressed(Kind::Character, time, std::move(text));
    input.ctrl = ctrl;
    input.alt = alt;
    return input;
}

RecordedInput key(std::int64_t time, std::string name, bool ctrl = false, bool shift = false) {
    RecordedInput input = RecordedInput::pressed(Kind::Key, time, std::move(name));
    input.ctrl = ctrl;
    input.shift = shift;
    return input;
}

std::vector<RecordedInput> typed(std::int64_t time, const std::vector<std::string>& characters) {
    std::vector<RecordedInput> inputs;
    for (const std::string& c : characters) {
        inputs.push_back(character(time, c));
        time += 20;
    }
    return inputs;
}

TEST(RecordedCommandsTest, InputsBecomeRecords) {
    struct Case {
        std::string what;
        std::vector<RecordedInput> inputs;
        int baseWait;
        std::vector<std::string> records;
    };
    std::vector<RecordedInput> text =
        typed(5000, {"G", "r", "ü", "ß", "e", " ", "€", "@", "{", "}", "+", "^", "%", "~", "("});
    text.push_back(key(5400, "ENTER"));
    const std::vector<Case> cases{
        {"the time before the first action is not kept; a click is a move and a click",
         {click(7000, RecordedButton::Middle, 10, -20)},
         100,
         {"code:|002|xpos:|10|ypos:|-20|", "code:|003|mouseclick:|middle|"}},
        {"characters as typed, braces braced, named keys as tokens",
         text,
         500,
         {"code:|004|text:|Grüße €@{{}{}}+^%~({ENTER}|"}},
        {"chords with Ctrl, Alt and Shift",
         {character(0, "c", true), character(10, "x", true, true), key(20, "TAB", true, true),
          key(30, "F4", false, false)},
         100,
         {"code:|004|text:|{CTRL}c{CTRL}{ALT}x{CTRL}{SHIFT}{TAB}{F4}|"}},
        {"a pause before a click less the base waits of the wait, the move and the click",
         {click(0, RecordedButton::Left, 1, 2), click(1000, RecordedButton::Right, 3, 4)},
         100,
         {"code:|002|xpos:|1|ypos:|2|", "code:|003|mouseclick:|left|", "code:|001|wait:|700|",
          "code:|002|xpos:|3|ypos:|4|", "code:|003|mouseclick:|right|"}},
        {"a pause before typing less the base waits of the wait and the text",
         {click(0, RecordedButton::Left, 1, 2), character(800, "a")},
         100,
         {"code:|002|xpos:|1|ypos:|2|", "code:|003|mouseclick:|left|", "code:|001|wait:|600|",
          "code:|004|text:|a|"}},
        {"pauses under 50 ms after the base waits are folded into the next command",
         {character(0, "a"), click(249, RecordedButton::Left, 1, 2),
          click(598, RecordedButton::Left, 3, 4), click(948, RecordedButton::Left, 5, 6)},
         100,
         {"code:|004|text:|a|", "code:|002|xpos:|1|ypos:|2|", "code:|003|mouseclick:|left|",
          "code:|002|xpos:|3|ypos:|4|", "code:|003|mouseclick:|left|", "code:|001|wait:|50|",
          "code:|002|xpos:|5|ypos:|6|", "code:|003|mouseclick:|left|"}},
        {"a long pause in typing ends the keyboard command",
         {character(0, "a"), character(999, "b"), character(1999, "c")},
         100,
         {"code:|004|text:|ab|", "code:|001|wait:|800|", "code:|004|text:|c|"}},
        {"a pause over a minute takes several waits",
         {click(0, RecordedButton::Left, 0, 0), click(150000, RecordedButton::Left, 0, 0)},
         100,
         {"code:|002|xpos:|0|ypos:|0|", "code:|003|mouseclick:|left|", "code:|001|wait:|60000|",
          "code:|001|wait:|60000|", "code:|001|wait:|29500|", "code:|002|xpos:|0|ypos:|0|",
          "code:|003|mouseclick:|left|"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(recordedCommands(c.inputs, c.baseWait).records, c.records) << c.what;
    }
}

TEST(RecordedCommandsTest, APipeIsLeftOutAndNoted) {
    const std::vector<RecordedInput> inputs{character(0, "a"), character(10, "|"),
                                            character(20, "b"), character(30, "\x7f")};
    const RecordedCommands result = recordedCommands(inputs, 100);
    EXPECT_EQ(result.records, std::vector<std::string>{"code:|004|text:|ab|"});
    ASSERT_EQ(result.notes.size(), 2U);
    EXPECT_NE(result.notes[0].find("(0x7C)"), std::string::npos);
}

}  // namespace
}  // namespace pontrel
