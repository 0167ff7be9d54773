#include "platform/wayland/PastedStretch.h"

#include <gtest/gtest.h>

namespace pontrel {
namespace {

// A layout without umlauts: 'ä', 'ö', 'ü' and '€' are pasted, the control character \x01 is left
// out.
CharacterWay usLayout(char32_t character) {
    if (character == U'\x01') {
        return CharacterWay::None;
    }
    return std::u32string_view(U"äöü€").find(character) != std::u32string_view::npos
               ? CharacterWay::Paste
               : CharacterWay::Key;
}

TEST(PastedStretchTest, StretchesAFewPlainCharactersApartGoAsOnePaste) {
    const std::u32string joined(24, U'a');
    struct Case {
        std::u32string run;
        bool keyHeld;
        std::u32string pasted;  // from the first character on
    };
    const Case cases[] = {
        {U"ä", false, U"ä"},
        {U"äöxy", false, U"äö"},
        {U"ä kühl ö!", false, U"ä kühl ö"},
        {U"ä" + joined + U"ö", false, U"ä" + joined + U"ö"},
        {U"ä" + joined + U"aö", false, U"ä"},
        {U"äa\nö", false, U"ä"},
        {U"äa\tö", false, U"ä"},
        {U"äa\x01ö", false, U"ä"},
        {U"äaö", true, U"ä"},
    };
    for (const Case& c : cases) {
        const std::size_t end = pastedStretchEnd(c.run, 0, c.keyHeld, usLayout);
        EXPECT_EQ(c.run.substr(0, end), c.pasted) << std::string(c.run.begin(), c.run.end());
    }
}

}  // namespace
}  // namespace pontrel
