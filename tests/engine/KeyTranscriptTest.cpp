#include "engine/KeyTranscript.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pontrel {
namespace {

KeyAction action(KeyAction::Kind kind, NamedKey key) {
    KeyAction a;
    a.kind = kind;
    a.key = key;
    return a;
}

KeyAction typed(char32_t character) {
    KeyAction a;
    a.kind = KeyAction::Kind::Type;
    a.character = character;
    return a;
}

TEST(KeyTranscript, OneLinePerAction) {
    const KeyActions actions{
        action(KeyAction::Kind::Press, NamedKey::Shift),
        typed(U'a'),
        action(KeyAction::Kind::Release, NamedKey::Shift),
        action(KeyAction::Kind::Tap, NamedKey::Enter),
        typed(U'ä'),
        typed(U'€'),
        typed(U' '),
    };
    EXPECT_EQ(describe(actions), "down Shift\ntype a\nup Shift\ntap Enter\ntype ä\ntype €\ntype  ");
    EXPECT_EQ(describe(KeyActions{}), "");
}

TEST(KeyTranscript, ControlCharactersShowTheirCodePoint) {
    EXPECT_EQ(describe(typed(U'\n')), "type U+000A");
    EXPECT_EQ(describe(typed(U'\0')), "type U+0000");
    EXPECT_EQ(describe(typed(U'\u0081')), "type U+0081");
    EXPECT_EQ(describe(typed(U'\u007F')), "type U+007F");
}

TEST(KeyAction, NamesAreDistinctAndCodesMatchTheWindowsValues) {
    std::set<std::string> names;
    const auto last = static_cast<int>(NamedKey::NumpadDivide);
    for (int i = 0; i <= last; ++i) {
        EXPECT_TRUE(names.insert(keyName(static_cast<NamedKey>(i))).second) << i;
    }
    EXPECT_EQ(keyName(NamedKey::PageDown), "PageDown");
    EXPECT_EQ(virtualKeyCode(NamedKey::Enter), 0x0D);
    EXPECT_EQ(virtualKeyCode(NamedKey::Break), 0x03);
    EXPECT_EQ(virtualKeyCode(NamedKey::Shift), 0x10);
    EXPECT_EQ(virtualKeyCode(NamedKey::Alt), 0x12);
    EXPECT_EQ(virtualKeyCode(NamedKey::PageUp), 0x21);
    EXPECT_EQ(virtualKeyCode(NamedKey::Help), 0x2F);
    EXPECT_EQ(virtualKeyCode(NamedKey::NumpadMultiply), 0x6A);
    EXPECT_EQ(virtualKeyCode(NamedKey::NumpadDivide), 0x6F);
    EXPECT_EQ(virtualKeyCode(NamedKey::ScrollLock), 0x91);
    for (int n = 0; n < 16; ++n) {
        const auto key = static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + n);
        EXPECT_EQ(keyName(key), "F" + std::to_string(n + 1));
        EXPECT_EQ(virtualKeyCode(key), 0x70 + n);
    }
}

}  // namespace
}  // namespace pontrel
