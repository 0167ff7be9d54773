#pragma once

#include <atomic>

// Xlib's own declaration; its header would bring the Status macro along.
typedef struct _XDisplay Display;

namespace pontrel {

// Replaces Xlib's default error handler (which ends the process) by one that logs the error to
// stderr and goes on. The handler is process-wide; installing it again changes nothing.
void installX11ErrorHandler();

// Opens $DISPLAY for a connection whose loss must not end the process: when the server goes
// away, `lost` is set and the connection is dead, to be closed and opened anew by its owner.
// Also installs the error handler above. Null when the display cannot be opened.
Display* openSurvivableDisplay(std::atomic<bool>& lost);

}  // namespace pontrel
