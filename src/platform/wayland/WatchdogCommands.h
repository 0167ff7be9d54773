#pragma once

#include <string>
#include <vector>

namespace pontrel {

// Programs for an input block's watchdog to run, which may only make system calls: every
// argument vector is built before the fork. Shared by the release the watchdog holds, hence not
// copied.
class WatchdogCommands {
public:
    // Each command: the program's path, then its arguments.
    explicit WatchdogCommands(std::vector<std::vector<std::string>> commands);
    WatchdogCommands(const WatchdogCommands&) = delete;
    WatchdogCommands& operator=(const WatchdogCommands&) = delete;

    // Runs the commands until each has succeeded once, for half a minute at most: the service
    // they talk to may be starting again after a crash that ended this program too. What they
    // print goes nowhere.
    void runUntilDone() const;

private:
    std::vector<std::vector<std::string>> words_;
    std::vector<std::vector<char*>> argvs_;
    mutable std::vector<char> done_;  // in the watchdog's copy only
};

}  // namespace pontrel
