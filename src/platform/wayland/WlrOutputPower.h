#pragma once

#include <functional>

#include "platform/DisplayPower.h"

namespace pontrel {

class WaylandConnection;

// Switches every output on or off through the wlroots output power protocol. False when the
// desktop lacks it or refused the change for an output.
bool setOutputsPower(WaylandConnection& connection, bool on);

// Whether the desktop tells when the user's input resumes after a pause.
bool hearsUserInput(const WaylandConnection& connection);

// Waits, as long as it takes, for the user's next input after a short pause; our own virtual
// devices count too, as the X server's fake input wakes a monitor. False when the desktop
// cannot tell or the connection ends.
bool waitForNextInput(WaylandConnection& connection);

// Monitor off on the wlroots desktops. They never switch an output on again by themselves, so a
// detached process of ours switches the outputs off and on again at the user's next input,
// whether or not this program still runs then.
class WlrDisplayPower : public DisplayPower {
public:
    // startWaker starts that process (see wakeOutputsOnInput) with the given descriptor as its
    // descriptor 3.
    explicit WlrDisplayPower(std::function<Status(int)> startWaker)
        : startWaker_(std::move(startWaker)) {}

    bool hasDpms() override { return true; }
    Status dpmsOff() override;
    Status activateScreenSaver() override;

private:
    std::function<Status(int)> startWaker_;
};

// The life of that process: switches every output off, tells how that went on descriptor 3
// ('1' done, '0' not), waits for the user's next input and switches every output on again.
// Returns the exit code.
int wakeOutputsOnInput();

}  // namespace pontrel
