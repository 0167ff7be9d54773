#pragma once

#include <string>
#include <string_view>

namespace pontrel {

// Replaces every occurrence of from (not empty) by to, left to right; replaced text is not
// searched again.
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

// "{CODE5}" and then "{code5}" replaced by the counter's text (other spellings stay).
std::string withCounter(std::string text, std::string_view counter);

// The text of a keyboard command as it is sent: the characters that have a meaning in key text
// (+ ^ % ~ ( )) are braced so that they are typed, then the composer's tokens {SHIFT}, {CTRL},
// {ALT} and {ALTGR} become the prefixes +, ^, % and ^%, then the counter goes in. Braces are left
// alone, so "{ENTER}" and "{{}" keep their meaning.
std::string keyTextToSend(std::string text, std::string_view counter);

}  // namespace pontrel
