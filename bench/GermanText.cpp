#include "GermanText.h"

#include <cstdint>
#include <string_view>

#include "model/Cp1252.h"

namespace pontrel::bench {

std::string germanText() {
    const std::u32string alphabet =
        U"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789     "
        U".,;:-_!?\"'/()=+*#<>&%$^\\[]{}|~äöüÄÖÜß€@";
    std::string text;
    std::uint32_t state = 20240611;
    for (int i = 0; i < germanTextLength; ++i) {
        state = state * 1664525U + 1013904223U;
        appendUtf8(text, alphabet[(state >> 8) % alphabet.size()]);
    }
    return text;
}

std::u32string characters(const std::string& utf8) {
    std::u32string all;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        all += nextCharacter(utf8, pos).value_or(U'\uFFFD');
    }
    return all;
}

std::string keyText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (std::string_view("+^%~(){}").find(c) != std::string_view::npos) {
            escaped += std::string("{") + c + "}";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace pontrel::bench
