#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/RecordedInput.h"

namespace pontrel {

// Pauses shorter than this are left to the base wait of the next command.
inline constexpr int shortestRecordedWait = 50;
// A pause in typing at least this long ends one keyboard command and starts the next.
inline constexpr int typingPause = 1000;

struct RecordedCommands {
    std::vector<std::string> records;
    // What could not be recorded, for the log.
    std::vector<std::string> notes;
};

// Turns a recording into command records: a pointer move and a click for every click, one
// keyboard command per run of typing, and a wait for each pause, less the base waits playback
// adds after every command, so that played back the actions keep their recorded gaps. The time
// before the first action is not kept.
RecordedCommands recordedCommands(std::span<const RecordedInput> inputs, int baseWait);

}  // namespace pontrel
