#pragma once

#include <cstdio>
#include <string>

#include "platform/Status.h"

namespace pontrel {

// The process and its surroundings, injected so that tests control them.
class Environment {
public:
    virtual ~Environment() = default;

    // The command line after the program's own name, as one string.
    virtual std::string commandLine() = 0;
    virtual std::string currentDirectory() = 0;
    // The separator between a folder and a file name ("\" on Windows, "/" elsewhere).
    virtual std::string pathSeparator() = 0;
    // The file name of this program's executable ("Pontrel.exe" on Windows, "Pontrel" elsewhere).
    virtual std::string programFileName() = 0;
    // The decimal separator of the user's locale ("," in German).
    virtual std::string decimalSeparator() = 0;
    // A uniform number in [0, 1), freshly seeded from the clock.
    virtual double randomUnit() = 0;
    // Ends the process at once.
    virtual void exitProcess(int code) = 0;
    // Opens a web address or document in the desktop's default program.
    virtual Status openUrl(const std::string& url) = 0;
    // One line of the program's log on standard error, for a user who started it from a
    // terminal; nothing shows in the window.
    virtual void writeLog(const std::string& line) = 0;
};

}  // namespace pontrel
