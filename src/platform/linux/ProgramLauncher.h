#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace pontrel {

// A program to start: the file to execute and the arguments after its name.
struct ProgramCommand {
    std::string program;
    std::vector<std::string> arguments;
};

// Reads a command line as Windows reads an unquoted one, so that paths with blanks need no
// quotes: the whole text if it names an executable file; else the longest prefix ending before a
// blank that names one, the rest split into shell words as its arguments; else the shell words,
// the first naming the program. A name without "/" is looked up on PATH. Nothing when no
// reading names an executable file.
std::optional<ProgramCommand> resolveProgramCommand(std::string_view commandLine);

// Starts the program detached from us (own session, not our child), in our current directory,
// never through a shell. Fails when it cannot be executed. A passed descriptor is the program's
// descriptor 3; none other of ours reaches it.
Status startDetached(const ProgramCommand& command, int passedDescriptor = -1);

}  // namespace pontrel
