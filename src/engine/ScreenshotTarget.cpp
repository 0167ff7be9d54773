#include "engine/ScreenshotTarget.h"

#include "model/Numbers.h"

namespace pontrel {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += isContinuationByte(c) ? 0 : 1;
    }
    return count;
}

// The first `count` characters (code points) of a UTF-8 text.
std::string_view firstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t taken = 0; end < text.size() && taken < count; ++taken) {
        ++end;
        while (end < text.size() && isContinuationByte(text[end])) {
            ++end;
        }
    }
    return text.substr(0, end);
}

int qualityFromMark(std::string_view mark) {
    const double quality = roundHalfEven(leadingNumber(mark));
    if (quality > 100 || quality == 0) {
        return 100;
    }
    if (quality < 10) {
        return 10;
    }
    return toInt(quality);
}

}  // namespace

bool ScreenshotTarget::jpeg() const {
    const std::string_view suffix = ".jpg";
    return path.size() >= suffix.size() &&
           std::string_view(path).substr(path.size() - suffix.size()) == suffix;
}

ScreenshotTarget splitScreenshotTarget(std::string_view field) {
    if (characterCount(field) <= 3) {
        return {};
    }
    const std::size_t open = field.find('<');
    std::string_view path = field.substr(0, open);
    const std::string_view mark =
        open == std::string_view::npos ? std::string_view{} : field.substr(open + 1);
    while (!path.empty() && path.back() == ' ') {
        path.remove_suffix(1);
    }
    return {std::string(path), qualityFromMark(firstCharacters(mark, 3))};
}

}  // namespace pontrel
