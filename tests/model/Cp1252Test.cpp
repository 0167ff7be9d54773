#include "model/Cp1252.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pontrel {
namespace {

std::string allBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

TEST(Cp1252, EveryByteSurvivesDecodeAndEncode) {
    const std::string bytes = allBytes();
    const std::string utf8 = decodeCp1252(bytes);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(countCharacters(utf8), 256u);
    EXPECT_EQ(encodeCp1252(utf8), std::optional<std::string>(bytes));
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(cp1252Byte(cp1252Character(byte)), std::optional<unsigned char>(byte)) << b;
    }
}

TEST(Cp1252, TableEntries) {
    EXPECT_EQ(decodeCp1252("\x80"), "\u20AC");
    EXPECT_EQ(encodeCp1252("\u20AC"), std::optional<std::string>("\x80"));
    EXPECT_EQ(decodeCp1252("\x84"), "\u201E");
    EXPECT_EQ(decodeCp1252("\x93"), "\u201C");
    EXPECT_EQ(decodeCp1252("\x9F"), "\u0178");
    EXPECT_EQ(decodeCp1252("\xC4\xD6\xDC\xE4\xF6\xFC\xDF"), "ÄÖÜäöüß");
    EXPECT_EQ(encodeCp1252("ÄÖÜäöüß §°µ"),
              std::optional<std::string>("\xC4\xD6\xDC\xE4\xF6\xFC\xDF \xA7\xB0\xB5"));
    for (const unsigned char undefinedByte : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(cp1252Character(undefinedByte), static_cast<char32_t>(undefinedByte));
    }
    EXPECT_EQ(decodeCp1252("\x81"), "\u0081");
    EXPECT_EQ(encodeCp1252("\u009D"), std::optional<std::string>("\x9D"));
}

TEST(Cp1252, EncodeFailsForCharactersWithoutAByte) {
    EXPECT_EQ(encodeCp1252("Hallo \u4E2D"), std::nullopt);  // CJK
    EXPECT_EQ(encodeCp1252("\u0080"), std::nullopt);        // C1 control that 0x80 does not mean
    EXPECT_EQ(encodeCp1252("\U0001F600"), std::nullopt);
    EXPECT_EQ(encodeCp1252("\xE4"), std::nullopt);  // not UTF-8
    EXPECT_EQ(encodeCp1252(""), std::optional<std::string>(""));
}

TEST(Utf8, Validity) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("abc"));
    EXPECT_TRUE(isValidUtf8("ä€\U0001F600"));
    EXPECT_FALSE(isValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));
    EXPECT_FALSE(isValidUtf8("\xFF"));
    EXPECT_TRUE(hasNonAscii("ä"));
    EXPECT_FALSE(hasNonAscii("abc"));
}

TEST(Utf8, CountsCharacters) {
    EXPECT_EQ(countCharacters(""), 0u);
    EXPECT_EQ(countCharacters("abc"), 3u);
    EXPECT_EQ(countCharacters("äöü"), 3u);
    EXPECT_EQ(countCharacters("€\U0001F600x"), 3u);
    EXPECT_EQ(countCharacters("a\xFF\xC3"), 3u);  // each bad byte is one
}

TEST(Utf8, AppendUtf8) {
    std::string s;
    appendUtf8(s, U'A');
    appendUtf8(s, U'ä');
    appendUtf8(s, U'€');
    appendUtf8(s, U'\U0001F600');
    EXPECT_EQ(s, "Aä€\U0001F600");
    std::string bad;
    appendUtf8(bad, 0xD800);
    appendUtf8(bad, 0x110000);
    EXPECT_EQ(bad, "\uFFFD\uFFFD");
}

}  // namespace
}  // namespace pontrel
