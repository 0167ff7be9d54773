#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <QString>

#include "engine/KeyTextParser.h"
#include "platform/InputQueue.h"
#include "platform/PictureWriter.h"
#include "support/wayland/PrivateSession.h"

namespace pontrel::test {

// The key actions of a key text, which must parse.
inline KeyActions parsed(const std::string& keyText) {
    KeyTextParse parse = parseKeyText(keyText);
    EXPECT_FALSE(parse.error) << keyText;
    return parse.actions;
}

// A key text typed into a field, for one layout or every one.
struct TypingCase {
    const char* keyText;
    const char* expected;  // what the field gains
    const char* layout;    // nullptr: every layout
};

// Texts every typing backend must type exactly: characters of the layout and beyond it, named
// keys, held keys, and Ctrl+Alt as AltGr.
inline const std::vector<TypingCase> typingCases = {
    {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F", "äöüÄÖÜß", nullptr},
    {"@\xE2\x82\xAC{{}{}}{^}[]\\|{~}{%}`'\"", "@€{}^[]\\|~%`'\"", nullptr},
    {"a{ENTER}b{TAB}c{BS}d", "a\nb\td", nullptr},
    {"+(ab)c+1^a{RIGHT}", "ABc!", nullptr},
    {"\xC5\x82\xE2\x86\x92\xC5\x91\xC5\x90\xC3\x80\xE4\xB8\xAD\xC2\xB4 x", "ł→őŐÀ中´ x", nullptr},
    {"^%q", "@", "de"},
};

// Types the cases of the layout one by one into the field that writes its text to `file`,
// expecting it to gain each case's text.
inline void expectTyped(InputQueue& queue, const std::string& file, const std::string& layout,
                        const std::vector<TypingCase>& cases) {
    std::string expected = readFile(file);
    for (const TypingCase& c : cases) {
        if (c.layout != nullptr && layout != c.layout) {
            continue;
        }
        SCOPED_TRACE(c.keyText);
        expected += c.expected;
        queue.sendKeys(parsed(c.keyText));
        queue.drain();
        EXPECT_TRUE(eventually([&] { return readFile(file) == expected; }, std::chrono::seconds(5)))
            << "field has \"" << readFile(file) << "\"";
    }
}

// A mixed German text of `count` characters, always the same, as key actions and as the UTF-8
// text a field gains from it.
inline std::pair<KeyActions, std::string> germanText(std::size_t count) {
    const std::u32string alphabet =
        U"abcdefghijklmnopqrstuvwxyz     ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 .,;:-_!?\"'()/&=+*"
        U"#<>^\\[]{}|äöüÄÖÜß€@";
    std::pair<KeyActions, std::string> text;
    unsigned seed = 12345;
    while (text.first.size() < count) {
        seed = seed * 1103515245 + 12345;
        const char32_t character = alphabet[(seed >> 16) % alphabet.size()];
        text.first.push_back(KeyAction{KeyAction::Kind::Type, NamedKey::Enter, character});
        text.second += QString::fromUcs4(&character, 1).toStdString();
    }
    return text;
}

// Writes nothing: the picture writers have tests of their own.
class NoPictureWriter : public PictureWriter {
public:
    Status writeBitmapFile(const Bitmap&, const std::string&) override {
        return Status::failure("not here");
    }
    Status writeJpegFile(const Bitmap&, const std::string&, int) override {
        return Status::failure("not here");
    }
};

}  // namespace pontrel::test
