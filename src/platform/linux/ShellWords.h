#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pontrel {

// Splits a command line into words as a POSIX shell does, without expanding anything: blanks and
// tabs separate words, '…' keeps everything literally, "…" keeps everything but \" \\ \$ \`,
// and a backslash outside quotes takes the next character literally. An unclosed quote runs to
// the end of the text.
std::vector<std::string> splitShellWords(std::string_view text);

}  // namespace pontrel
