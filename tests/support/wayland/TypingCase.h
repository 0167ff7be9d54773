#pragma once

#include <string>

#include <gtest/gtest.h>

#include "engine/KeyTextParser.h"
#include "platform/KeyAction.h"

namespace pontrel::test {

// A key text for the typing tests of the desktop backends, and what a field gains from it.
struct TypingCase {
    const char* keyText;
    const char* expected;
    const char* layout;  // nullptr: every layout
};

inline KeyActions parsed(const std::string& keyText) {
    KeyTextParse parse = parseKeyText(keyText);
    EXPECT_FALSE(parse.error) << keyText;
    return parse.actions;
}

}  // namespace pontrel::test
