#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/KeyAction.h"

namespace pontrel {

// Why a key text was rejected.
enum class KeyTextErrorReason {
    MissingClosingBrace,  // "{" without "}": "a{", "{ENTER"
    StrayDelimiter,       // "}" or ")" that closes nothing
    UnclosedGroup,        // "(" without ")"
    NestingTooDeep,       // a fourth "(" inside three open groups
    EmptyKeyName,         // "{}", "{ }", "{ 5}"
    UnknownKeyName,       // "{FOO}", "{SPACE}"
    BadRepeatCount,       // "{LEFT x}", "{LEFT 5 }", "{LEFT -1}"
    RepeatCountTooLarge,  // above kMaxKeyRepeat
    TooManyActions,       // the text expands to more than kMaxKeyActions actions
};

// Where and why a key text was rejected. position counts characters (code points) from 0. It
// is the opening "{" or "(" when its partner is missing, else the first character that does not
// fit: the stray delimiter, the fourth "(", the first character of a bad name (of what follows the
// "{" for an empty name), the offending character of a repeat count or the first digit of one too
// large, the item that passes the action limit (the end of the text for modifiers tapped
// there).
struct KeyTextError {
    KeyTextErrorReason reason = KeyTextErrorReason::UnknownKeyName;
    std::size_t position = 0;

    // English, for logs: "unknown key name at character 3 (counted from 0)".
    std::string message() const;

    bool operator==(const KeyTextError&) const = default;
};

// The actions of a whole text, or why it was rejected (then there are no actions at all).
struct KeyTextParse {
    KeyActions actions;
    std::optional<KeyTextError> error;
};

inline constexpr int kMaxKeyRepeat = 10'000;
// Bounds memory for texts full of repeat counts (12 bytes per action).
inline constexpr std::size_t kMaxKeyActions = 4'000'000;

// Parses key text: plain characters are typed; "{NAME}" taps a named key (case-insensitive),
// "{c}" types the single character c, "{NAME n}" / "{c n}" repeat it n times (0: nothing);
// "~" taps Enter; "+", "^", "%" hold Shift, Ctrl, Alt over the next key, braced item or
// parenthesised group (at most three groups deep). A modifier already in force is ignored; one
// that precedes no key is tapped on its own, and Alt and Shift are never tapped together.
// A byte that does not begin well-formed UTF-8 reads as one U+FFFD character.
KeyTextParse parseKeyText(std::string_view utf8Text);

}  // namespace pontrel
