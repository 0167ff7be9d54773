#include "platform/linux/ShellWords.h"

namespace pontrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool escapableInDoubleQuotes(char c) {
    return c == '"' || c == '\\' || c == '$' || c == '`';
}

}  // namespace

std::vector<std::string> splitShellWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '\'') {
            for (++i; i < text.size() && text[i] != '\''; ++i) {
                word += text[i];
            }
        } else if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size() &&
                    escapableInDoubleQuotes(text[i + 1])) {
                    ++i;
                }
                word += text[i];
            }
        } else if (c == '\\' && i + 1 < text.size()) {
            word += text[++i];
        } else {
            word += c;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace pontrel
