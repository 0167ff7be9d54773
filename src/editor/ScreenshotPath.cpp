#include "editor/ScreenshotPath.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "model/Cp1252.h"

namespace pontrel {

namespace {

// A UTF-8 text addressed by characters, as the path rules count them.
class Characters {
public:
    explicit Characters(std::string_view text) : text_(text) {
        for (std::size_t pos = 0; pos < text.size();) {
            starts_.push_back(pos);
            (void)nextCharacter(text, pos);
        }
    }

    std::size_t count() const { return starts_.size(); }
    // The first n characters.
    std::string_view first(std::size_t n) const {
        return n >= count() ? text_ : text_.substr(0, starts_[n]);
    }
    // The last n characters.
    std::string_view last(std::size_t n) const {
        if (n == 0) {
            return {};
        }
        return n >= count() ? text_ : text_.substr(starts_[count() - n]);
    }
    // The n-th character from the end (1 is the last); n must not exceed count().
    std::string_view fromEnd(std::size_t n) const {
        const std::size_t index = count() - n;
        const std::size_t end = index + 1 < count() ? starts_[index + 1] : text_.size();
        return text_.substr(starts_[index], end - starts_[index]);
    }
    // The index of the character that starts at a byte offset.
    std::size_t indexAt(std::size_t offset) const {
        return static_cast<std::size_t>(std::lower_bound(starts_.begin(), starts_.end(), offset) -
                                        starts_.begin());
    }

private:
    std::string_view text_;
    std::vector<std::size_t> starts_;
};

constexpr std::size_t extensionLength = 4;

}  // namespace

std::optional<ScreenshotDialogStart> screenshotDialogStart(std::string_view path) {
    std::string_view s = path;
    if (!s.empty() && s.back() == '>') {
        const std::size_t mark = s.rfind('<');
        if (mark == std::string_view::npos) {
            return std::nullopt;
        }
        const std::size_t index = Characters(s).indexAt(mark);
        if (index < 2) {
            return std::nullopt;
        }
        s = Characters(s).first(index - 1);
    }
    ScreenshotDialogStart start{std::string(s), {}};
    if (s.empty()) {
        return start;
    }
    const Characters characters(s);
    if (characters.count() < extensionLength) {
        return std::nullopt;
    }
    if (characters.fromEnd(extensionLength) == ".") {
        start.extension = std::string(characters.last(extensionLength));
        start.fileName = std::string(characters.first(characters.count() - extensionLength));
    }
    return start;
}

std::optional<std::string> screenshotPathAfterDialog(std::string_view fileName,
                                                     std::string_view extension) {
    std::string s = std::string(fileName) + std::string(extension);
    const Characters characters(s);
    if (characters.count() < extensionLength) {
        return std::nullopt;
    }
    if (characters.fromEnd(extensionLength) == ".") {
        if (characters.count() < 2 * extensionLength) {
            return std::nullopt;
        }
        if (characters.fromEnd(2 * extensionLength) == ".") {
            s = std::string(characters.first(characters.count() - extensionLength));
        }
    }
    if (Characters(s).last(extensionLength) == ".jpg") {
        s += jpegQualityMark;
    }
    return s;
}

}  // namespace pontrel
