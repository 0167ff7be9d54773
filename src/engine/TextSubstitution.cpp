#include "engine/TextSubstitution.h"

#include <array>
#include <utility>

namespace pontrel {

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return text;
    }
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t found = text.find(from); found != std::string::npos;
         found = text.find(from, start)) {
        result.append(text, start, found - start);
        result.append(to);
        start = found + from.size();
    }
    result.append(text, start, std::string::npos);
    return result;
}

std::string withCounter(std::string text, std::string_view counter) {
    text = replaceAll(std::move(text), "{CODE5}", counter);
    return replaceAll(std::move(text), "{code5}", counter);
}

std::string keyTextToSend(std::string text, std::string_view counter) {
    // The order matters: escaping first keeps the prefixes made from the tokens, and the
    // counter's own characters, unescaped.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> replacements{{
        {"+", "{+}"},
        {"^", "{^}"},
        {"%", "{%}"},
        {"~", "{~}"},
        {"(", "{(}"},
        {")", "{)}"},
        {"{SHIFT}", "+"},
        {"{CTRL}", "^"},
        {"{ALT}", "%"},
        {"{ALTGR}", "^%"},
    }};
    for (const auto& [from, to] : replacements) {
        text = replaceAll(std::move(text), from, to);
    }
    return withCounter(std::move(text), counter);
}

}  // namespace pontrel
