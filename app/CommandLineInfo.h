#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pontrel {

// The answer to "--help" or "--version" given as the only argument, printed on the terminal
// without opening a window; nothing for any other command line.
std::optional<std::string> commandLineInfo(int argc, char** argv);

// The only argument of the detached process the program starts on a wlroots desktop to switch
// the monitors off: it switches them off, waits for the user's next input and on again.
constexpr std::string_view wakeOutputsArgument = "--wake-outputs-on-input";
// The word after "--hotkey" when the command line is "--hotkey WORD"; nothing otherwise.
std::optional<std::string> hotkeyWord(int argc, char** argv);

}  // namespace pontrel
