#pragma once

namespace pontrel {

// Replaces Xlib's default error handler (which ends the process) by one that logs the error to
// stderr and goes on. The handler is process-wide; installing it again changes nothing.
void installX11ErrorHandler();

}  // namespace pontrel
