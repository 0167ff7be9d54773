#include "editor/FreeText.h"

#include <cstddef>

#include "model/Cp1252.h"
#include "model/MacroFile.h"

namespace pontrel {

std::string cleanFreeText(std::string_view text) {
    std::string clean;
    clean.reserve(text.size());
    std::size_t characters = 0;
    std::size_t pos = 0;
    while (pos < text.size() && characters < maxFieldCharacters) {
        const std::size_t start = pos;
        (void)nextCharacter(text, pos);
        const char first = text[start];
        if (pos - start == 1 && (first == '|' || first == '\r' || first == '\n')) {
            continue;
        }
        if (clean.size() + (pos - start) > maxFieldBytes) {
            break;
        }
        clean.append(text.substr(start, pos - start));
        ++characters;
    }
    return clean;
}

}  // namespace pontrel
