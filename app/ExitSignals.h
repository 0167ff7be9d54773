#pragma once

namespace pontrel {

// SIGTERM, SIGINT and SIGHUP end the program as closing does: keys our typing holds are let go
// and remapped keys restored first; the X server drops an input block with our connections.
void endOnExitSignals();

}  // namespace pontrel
