#pragma once

#include <string>

namespace pontrel {

// The X display the program will use: the value of "-display" among the arguments, else
// $DISPLAY; empty when neither names one.
std::string chosenDisplay(int argc, char** argv);

// True when a connection to that X display can be opened.
bool canOpenDisplay(const std::string& display);

// Lets Xlib be used from several threads; must come before any other Xlib call.
void prepareXlibForThreads();

// True when the desktop session is a Wayland session (the window then runs through XWayland).
bool waylandSession();

}  // namespace pontrel
