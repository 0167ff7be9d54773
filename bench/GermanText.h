#pragma once

#include <string>

namespace pontrel::bench {

inline constexpr int germanTextLength = 1000;

// The typing benchmarks' text: germanTextLength letters, digits, blanks, punctuation with ^ \ [ ] {
// } | ~, umlauts, ß, € and @, in a fixed pseudo-random order, as UTF-8.
std::string germanText();
// The characters of UTF-8 text (U+FFFD where it is broken).
std::u32string characters(const std::string& utf8);
// The key text that types `text` literally.
std::string keyText(const std::string& text);

}  // namespace pontrel::bench
