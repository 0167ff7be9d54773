#pragma once

#include <string>
#include <string_view>

namespace pontrel {

// The text of a free-text record field (keyboard text, program path, screenshot path) made safe
// for the record and its file line: "|" would start another field, CR and LF another line, so all
// three are removed; the rest is cut to maxFieldCharacters characters (and maxFieldBytes bytes) so
// a saved line always loads back.
std::string cleanFreeText(std::string_view text);

}  // namespace pontrel
