#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "e2e/support/Desktop.h"

namespace pontrel::e2e {

// A macro file in the desktop's folder, written as the program writes one; startDigit goes into
// the header (1: the file is loaded when the program starts with it as its default file).
std::filesystem::path writeMacro(const Desktop& desktop, const std::string& name,
                                 const std::vector<std::string>& records, char startDigit = '0');

// The built program, started on the desktop with its folder as current directory.
class PontrelApp {
public:
    PontrelApp(const Desktop& desktop, const std::string& program,
               const std::vector<std::string>& arguments = {});

    ChildProcess& process() { return *process_; }
    // Its main window once mapped (0 when none appeared within timeoutMs).
    Window window(int timeoutMs = 10000);
    // A point of the window given in the design's twips (15 to the pixel at 96 DPI).
    Point atDesign(int twipsX, int twipsY);
    // What it printed, for failure messages.
    std::string log() const;

private:
    const Desktop& desktop_;
    std::unique_ptr<ChildProcess> process_;
    Window window_ = 0;
};

}  // namespace pontrel::e2e
