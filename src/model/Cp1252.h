#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pontrel {

// Windows-1252 <-> UTF-8. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the control characters of the same number, so every byte survives a
// decode and encode.

// Every byte as its character, in UTF-8. Total: any byte string decodes.
std::string decodeCp1252(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text; nothing when the UTF-8 is invalid or a character has
// no byte in the code page.
std::optional<std::string> encodeCp1252(std::string_view utf8);

// The Windows-1252 byte of one character, if it has one.
std::optional<unsigned char> cp1252Byte(char32_t character);

// The character of one Windows-1252 byte.
char32_t cp1252Character(unsigned char byte);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// Whether the text holds a byte of 0x80 or above (a character beyond ASCII when it is UTF-8).
bool hasNonAscii(std::string_view text);

// The number of characters (code points) of a UTF-8 text; a byte that does not begin a
// well-formed sequence counts as one character.
std::size_t countCharacters(std::string_view utf8);

// Reads the character at pos and moves pos behind it; nothing (and pos behind the one bad byte)
// for a byte that does not begin a well-formed sequence. pos must be below text.size().
std::optional<char32_t> nextCharacter(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of a character (a surrogate or a value above U+10FFFF gives U+FFFD).
void appendUtf8(std::string& out, char32_t character);

}  // namespace pontrel
