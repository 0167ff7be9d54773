#pragma once

#include <functional>

#include <QApplication>

namespace pontrel::test {

// The one QApplication of a backend test program, on a private Xvfb started with it. The
// arguments include Qt's own "-platform xcb", which Qt takes out, and two of the program's own:
// programArguments.
QApplication& qtTestApp();

inline constexpr const char* programArguments[] = {"/daten/ein Makro.qmc", "zwei"};

// Runs the event loop until done() holds or timeoutMs passed; returns done().
bool processEventsUntil(const std::function<bool()>& done, int timeoutMs = 2000);

}  // namespace pontrel::test
