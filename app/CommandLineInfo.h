#pragma once

#include <optional>
#include <string>

namespace pontrel {

// The answer to "--help" or "--version" given as the only argument, printed on the terminal
// without opening a window; nothing for any other command line.
std::optional<std::string> commandLineInfo(int argc, char** argv);

// The word after "--hotkey" when the command line is "--hotkey WORD"; nothing otherwise.
std::optional<std::string> hotkeyWord(int argc, char** argv);

}  // namespace pontrel
