#include "engine/KeyTextParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "engine/KeyTranscript.h"

namespace pontrel {

// Readable failures; internal linkage keeps it out of the way of other test files.
static void PrintTo(const KeyTextError& error, std::ostream* out) {
    *out << error.message();
}

namespace {

using Lines = std::vector<std::string>;

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines times(const std::string& line, std::size_t count) {
    return Lines(count, line);
}

std::string joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

struct Case {
    std::string text;
    Lines expected;
};

void expectTranscripts(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE("key text: " + c.text);
        const KeyTextParse parse = parseKeyText(c.text);
        ASSERT_FALSE(parse.error) << parse.error->message();
        EXPECT_EQ(describe(parse.actions), joined(c.expected));
    }
}

const Lines kShiftA{"down Shift", "type a", "up Shift"};
const Lines kCtrlA{"down Ctrl", "type a", "up Ctrl"};
const Lines kCtrlC{"down Ctrl", "type c", "up Ctrl"};

TEST(KeyTextParser, CharactersAndEscapes) {
    expectTranscripts({
        {"abc", {"type a", "type b", "type c"}},
        {"Ab 1", {"type A", "type b", "type  ", "type 1"}},
        {"{+}{^}{%}{~}", {"type +", "type ^", "type %", "type ~"}},
        {"{(}{)}{{}{}}", {"type (", "type )", "type {", "type }"}},
        {"{[}x]", {"type [", "type x", "type ]"}},
        {"!#&", {"type !", "type #", "type &"}},
        {"", {}},
    });
}

TEST(KeyTextParser, NonAsciiCharactersAreTypedAsTheyAre) {
    expectTranscripts({
        {"Grüße 5€",
         {"type G", "type r", "type ü", "type ß", "type e", "type  ", "type 5", "type €"}},
        {"ÄÖÜ{ä}{€ 2}", {"type Ä", "type Ö", "type Ü", "type ä", "type €", "type €"}},
        {"„“µ°§", {"type „", "type “", "type µ", "type °", "type §"}},
    });
}

TEST(KeyTextParser, NamedKeysAndAliases) {
    expectTranscripts({
        {"~", {"tap Enter"}},
        {"a~~b", {"type a", "tap Enter", "tap Enter", "type b"}},
        {"{ENTER}{enter}{Enter}", times("tap Enter", 3)},
        {"{BS}{BKSP}{BACKSPACE}{bs}", times("tap Backspace", 4)},
        {"{DEL}{DELETE}{INS}{INSERT}", {"tap Delete", "tap Delete", "tap Insert", "tap Insert"}},
        {"{ESC}{ESCAPE}{CLEAR}{HELP}", {"tap Escape", "tap Escape", "tap Clear", "tap Help"}},
        {"{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}",
         {"tap NumpadAdd", "tap NumpadSubtract", "tap NumpadMultiply", "tap NumpadDivide"}},
        {"{PRTSC}{F13}{F16}{f4}", {"tap PrintScreen", "tap F13", "tap F16", "tap F4"}},
    });
}

TEST(KeyTextParser, EveryComposerKeyParses) {
    std::vector<Case> cases{
        {"{DEL}", {"tap Delete"}},
        {"{INS}", {"tap Insert"}},
        {"{ESC}", {"tap Escape"}},
        {"{ENTER}", {"tap Enter"}},
        {"{BS}", {"tap Backspace"}},
        {"{TAB}", {"tap Tab"}},
        {"{UP}", {"tap Up"}},
        {"{LEFT}", {"tap Left"}},
        {"{RIGHT}", {"tap Right"}},
        {"{DOWN}", {"tap Down"}},
        {"{CAPSLOCK}", {"tap CapsLock"}},
        {"{NUMLOCK}", {"tap NumLock"}},
        {"{SCROLLLOCK}", {"tap ScrollLock"}},
        {"{BREAK}", {"tap Break"}},
        {"{HOME}", {"tap Home"}},
        {"{END}", {"tap End"}},
        {"{PGUP}", {"tap PageUp"}},
        {"{PGDN}", {"tap PageDown"}},
        {"{{}", {"type {"}},
        {"{}}", {"type }"}},
    };
    for (int n = 1; n <= 12; ++n) {
        cases.push_back({"{F" + std::to_string(n) + "}", {"tap F" + std::to_string(n)}});
    }
    expectTranscripts(cases);
}

TEST(KeyTextParser, RepeatCounts) {
    expectTranscripts({
        {"{ENTER 3}", times("tap Enter", 3)},
        {"{h 10}", times("type h", 10)},
        {"{F 4}{F4}", times("type F", 4) + Lines{"tap F4"}},
        {"{LEFT 42}", times("tap Left", 42)},
        {"{LEFT  5}{LEFT\t2}", times("tap Left", 7)},
        {"a{LEFT 0}b", {"type a", "type b"}},
        {"{LEFT }", {"tap Left"}},
        {"{LEFT 007}", times("tap Left", 7)},
        {"{} 3}{{ 2}", times("type }", 3) + times("type {", 2)},
        {"{} }", {"type }"}},
        {"{a 10000}", times("type a", 10000)},
    });
}

TEST(KeyTextParser, ModifiersEndAfterTheNextKeyItemOrGroup) {
    expectTranscripts({
        {"+a", kShiftA},
        {"+ab", kShiftA + Lines{"type b"}},
        {"+(abc)", {"down Shift", "type a", "type b", "type c", "up Shift"}},
        {"(ab)", {"type a", "type b"}},
        {"^%q", {"down Ctrl", "down Alt", "type q", "up Alt", "up Ctrl"}},
        {"%{F4}", {"down Alt", "tap F4", "up Alt"}},
        {"+{F1}", {"down Shift", "tap F1", "up Shift"}},
        {"+{TAB 4}", Lines{"down Shift"} + times("tap Tab", 4) + Lines{"up Shift"}},
        {"^+{END}^{HOME}",
         {"down Ctrl", "down Shift", "tap End", "up Shift", "up Ctrl", "down Ctrl", "tap Home",
          "up Ctrl"}},
        {"+(a^(b)c)",
         {"down Shift", "type a", "down Ctrl", "type b", "up Ctrl", "type c", "up Shift"}},
        {"%(f)%(F)", {"down Alt", "type f", "up Alt", "down Alt", "type F", "up Alt"}},
        {"+~a", {"down Shift", "tap Enter", "up Shift", "type a"}},
        {"+{+}", {"down Shift", "type +", "up Shift"}},
        {"+(^a)", {"down Shift", "down Ctrl", "type a", "up Ctrl", "up Shift"}},
        {"(((a)))", {"type a"}},
    });
}

// Earlier parsers elsewhere failed on these: the pending modifier was not cleared after its key.
TEST(KeyTextParser, SameModifierAgainAfterItsKey) {
    expectTranscripts({
        {"^a^c", kCtrlA + kCtrlC},
        {"^(a)^(c)", kCtrlA + kCtrlC},
        {"+a+c", kShiftA + Lines{"down Shift", "type c", "up Shift"}},
        {"%f%t", {"down Alt", "type f", "up Alt", "down Alt", "type t", "up Alt"}},
    });
}

TEST(KeyTextParser, ModifierAlreadyInForceIsIgnored) {
    expectTranscripts({
        {"++a", kShiftA},
        {"+(+a)", kShiftA},
        {"^^c", kCtrlC},
        {"^+^a", {"down Ctrl", "down Shift", "type a", "up Shift", "up Ctrl"}},
    });
}

TEST(KeyTextParser, ModifierBeforeNoKeyIsTapped) {
    expectTranscripts({
        {"a+", {"type a", "down Shift", "up Shift"}},
        {"Hallo+", {"type H", "type a", "type l", "type l", "type o", "down Shift", "up Shift"}},
        {"+()", {"down Shift", "up Shift"}},
        {"+{a 0}b", {"down Shift", "up Shift", "type b"}},
        {"(a^)", {"type a", "down Ctrl", "up Ctrl"}},
        {"^+", {"down Ctrl", "down Shift", "up Shift", "up Ctrl"}},
        {"^%", {"down Ctrl", "down Alt", "up Alt", "up Ctrl"}},
        {"+(^)", {"down Shift", "down Ctrl", "up Ctrl", "up Shift"}},
    });
}

// A lone Alt+Shift switches the input language on some desktops.
TEST(KeyTextParser, AltAndShiftAreNeverDownWithoutAKey) {
    expectTranscripts({
        {"%+", {"down Alt", "up Alt", "down Shift", "up Shift"}},
        {"+%", {"down Shift", "up Shift", "down Alt", "up Alt"}},
        {"^%+", {"down Ctrl", "up Ctrl", "down Alt", "up Alt", "down Shift", "up Shift"}},
        {"+%{a 0}", {"down Shift", "up Shift", "down Alt", "up Alt"}},
        {"+%()", {"down Shift", "up Shift", "down Alt", "up Alt"}},
        {"+(%)", {"down Shift", "up Shift", "down Alt", "up Alt"}},
        {"+(a%)", kShiftA},
        {"%(a+)", {"down Alt", "type a", "up Alt"}},
        {"+%a", {"down Shift", "down Alt", "type a", "up Alt", "up Shift"}},
    });
}

// What the engine hands over after replacing the composer's tokens and escaping characters.
TEST(KeyTextParser, TextsAfterTheEngineReplacements) {
    expectTranscripts({
        {"1{+}1=2 {(}ok{)}",
         {"type 1", "type +", "type 1", "type =", "type 2", "type  ", "type (", "type o", "type k",
          "type )"}},
        {"+a^c", kShiftA + kCtrlC},
        {"^%q", {"down Ctrl", "down Alt", "type q", "up Alt", "up Ctrl"}},
        {"Hallo{ENTER}", {"type H", "type a", "type l", "type l", "type o", "tap Enter"}},
        {"{ENTER}{ENTER}", {"tap Enter", "tap Enter"}},
        {"abc{TAB}", {"type a", "type b", "type c", "tap Tab"}},
        {"50{%} {~}", {"type 5", "type 0", "type %", "type  ", "type ~"}},
    });
}

struct ErrorCase {
    std::string text;
    KeyTextErrorReason reason;
    std::size_t position;
};

TEST(KeyTextParser, StructuralErrorsRejectTheWholeText) {
    using R = KeyTextErrorReason;
    const std::vector<ErrorCase> cases{
        {"a{", R::MissingClosingBrace, 1},
        {"{ENTER", R::MissingClosingBrace, 0},
        {"abc{LEFT 5", R::MissingClosingBrace, 3},
        {"{}{", R::EmptyKeyName, 1},
        {"}", R::StrayDelimiter, 0},
        {"a)", R::StrayDelimiter, 1},
        {"(a))", R::StrayDelimiter, 3},
        {"{a 5}}", R::StrayDelimiter, 5},
        {"{}}}", R::StrayDelimiter, 3},
        {"+(ab", R::UnclosedGroup, 1},
        {"(x(a)", R::UnclosedGroup, 0},
        {"((((a))))", R::NestingTooDeep, 3},
        {"{}", R::EmptyKeyName, 1},
        {"{ }", R::EmptyKeyName, 1},
        {"{ 5}", R::EmptyKeyName, 1},
        {"{FOO}", R::UnknownKeyName, 1},
        {"ab{SPACE}", R::UnknownKeyName, 3},
        {"{RETURN}", R::UnknownKeyName, 1},
        {"{SHIFT}a", R::UnknownKeyName, 1},
        {"{F17}", R::UnknownKeyName, 1},
        {"{F0}", R::UnknownKeyName, 1},
        {"{}a}", R::UnknownKeyName, 1},
        {"{ab 3}", R::UnknownKeyName, 1},
        {"{LEFT x}", R::BadRepeatCount, 6},
        {"{LEFT 5 }", R::BadRepeatCount, 7},
        {"{LEFT -1}", R::BadRepeatCount, 6},
        {"{LEFT 5x}", R::BadRepeatCount, 7},
        {"{LEFT 1 2}", R::BadRepeatCount, 7},
        {"{a 10001}", R::RepeatCountTooLarge, 3},
        {"{a 99999999999}", R::RepeatCountTooLarge, 3},
        {"{a  99999999999999999999999999}", R::RepeatCountTooLarge, 4},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE("key text: " + c.text);
        const KeyTextParse parse = parseKeyText(c.text);
        ASSERT_TRUE(parse.error);
        EXPECT_EQ(*parse.error, (KeyTextError{c.reason, c.position}));
        EXPECT_TRUE(parse.actions.empty());
    }
}

TEST(KeyTextParser, ErrorPositionsCountCharactersNotBytes) {
    const KeyTextParse parse = parseKeyText("äöü€{FOO}");
    ASSERT_TRUE(parse.error);
    EXPECT_EQ(parse.error->position, 5u);
    EXPECT_EQ(parse.error->message(), "unknown key name at character 5 (counted from 0)");
}

TEST(KeyTextParser, BytesThatAreNotUtf8ReadAsReplacementCharacters) {
    expectTranscripts({
        {"a\xE4"
         "b",
         {"type a", "type \xEF\xBF\xBD", "type b"}},
        {"\xC3", {"type \xEF\xBF\xBD"}},
        {"{\xFF}", {"type \xEF\xBF\xBD"}},
        {"\xE2\x82{TAB}", {"type \xEF\xBF\xBD", "type \xEF\xBF\xBD", "tap Tab"}},
    });
    const KeyTextParse parse = parseKeyText("\xFF\xFE}");
    ASSERT_TRUE(parse.error);
    EXPECT_EQ(*parse.error, (KeyTextError{KeyTextErrorReason::StrayDelimiter, 2}));
}

TEST(KeyTextParser, ExpansionIsBounded) {
    std::string text;
    for (int i = 0; i < 401; ++i) {
        text += "{a 10000}";
    }
    const KeyTextParse parse = parseKeyText(text);
    ASSERT_TRUE(parse.error);
    EXPECT_EQ(*parse.error, (KeyTextError{KeyTextErrorReason::TooManyActions, 400 * 9}));
    EXPECT_TRUE(parse.actions.empty());
}

// Whatever the text, a successful parse leaves no key down, presses no key twice, releases in
// reverse order and never has Alt and Shift down together without a key between.
TEST(KeyTextParser, ModifiersAreAlwaysBalanced) {
    const std::string alphabet = "+^%()a~";
    std::vector<std::string> texts{""};
    for (int length = 1; length <= 6; ++length) {
        std::vector<std::string> longer;
        for (const std::string& text : texts) {
            for (char c : alphabet) {
                longer.push_back(text + c);
            }
        }
        for (const std::string& text : longer) {
            const KeyTextParse parse = parseKeyText(text);
            std::vector<NamedKey> down;
            bool keySinceAltShift = true;
            for (const KeyAction& action : parse.actions) {
                const auto isDown = [&](NamedKey key) {
                    return std::find(down.begin(), down.end(), key) != down.end();
                };
                switch (action.kind) {
                    case KeyAction::Kind::Press:
                        ASSERT_FALSE(isDown(action.key)) << text;
                        down.push_back(action.key);
                        if ((action.key == NamedKey::Alt || action.key == NamedKey::Shift) &&
                            isDown(NamedKey::Alt) && isDown(NamedKey::Shift)) {
                            keySinceAltShift = false;
                        }
                        break;
                    case KeyAction::Kind::Release:
                        ASSERT_FALSE(down.empty()) << text;
                        ASSERT_EQ(down.back(), action.key) << text;
                        ASSERT_TRUE(keySinceAltShift) << text;
                        down.pop_back();
                        break;
                    default:
                        keySinceAltShift = true;
                }
            }
            EXPECT_TRUE(down.empty()) << text;
        }
        texts = std::move(longer);
    }
}

// About a megabyte each; a parser that scans back or ahead per item would take minutes here.
TEST(KeyTextParser, MegabyteTextsParseInOnePass) {
    const auto repeated = [](const std::string& piece) {
        std::string text;
        while (text.size() < 1'000'000) {
            text += piece;
        }
        return text;
    };
    EXPECT_EQ(parseKeyText(repeated("Grüße ")).actions.size(), 125'000u * 6);
    EXPECT_EQ(parseKeyText(repeated("+(a^{TAB 2})")).actions.size(), 83'334u * 7);
    EXPECT_EQ(parseKeyText(repeated("{{}{}}{} 2}")).actions.size(), 90'910u * 4);
    EXPECT_EQ(parseKeyText(repeated("%+^")).actions.size(), 6u);
    EXPECT_EQ(parseKeyText("a" + repeated("{")).error,
              (KeyTextError{KeyTextErrorReason::MissingClosingBrace, 1}));
    EXPECT_EQ(parseKeyText(repeated("{}")).error,
              (KeyTextError{KeyTextErrorReason::UnknownKeyName, 1}));
    EXPECT_EQ(parseKeyText(repeated("{") + "}").error,
              (KeyTextError{KeyTextErrorReason::UnknownKeyName, 1}));
}

}  // namespace
}  // namespace pontrel
