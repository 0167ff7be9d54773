#pragma once

#include <string>

namespace pontrel {

// "Pontrel --hotkey start|stop": hands the word to the running program; the exit code.
int forwardHotkey(const std::string& word, int argc, char** argv);

// The absolute path of this program's executable, for commands that start it again.
std::string runningProgram();

}  // namespace pontrel
