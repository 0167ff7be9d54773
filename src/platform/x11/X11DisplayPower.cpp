#include "platform/x11/X11DisplayPower.h"

#include "platform/x11/X11Connection.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#undef Status  // Xlib's macro would hide pontrel::Status

namespace pontrel {

namespace {

bool dpmsCapable(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    return DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

const Status noDisplay = Status::failure("cannot open the X display");

}  // namespace

bool X11DisplayPower::hasDpms() {
    X11Connection connection;
    Display* display = connection.open();
    return display != nullptr && dpmsCapable(display);
}

Status X11DisplayPower::dpmsOff() {
    X11Connection connection;
    Display* display = connection.open();
    if (display == nullptr) {
        return noDisplay;
    }
    if (!dpmsCapable(display)) {
        return Status::failure("the X server cannot switch the monitor off (no DPMS)");
    }
    // Forcing a level while DPMS is disabled is a BadMatch error, so enable it first; the
    // requests are handled in order on this connection.
    CARD16 level = 0;
    BOOL enabled = False;
    DPMSInfo(display, &level, &enabled);
    if (!enabled) {
        DPMSEnable(display);
    }
    DPMSForceLevel(display, DPMSModeOff);
    XSync(display, False);
    return Status::success();
}

Status X11DisplayPower::activateScreenSaver() {
    X11Connection connection;
    Display* display = connection.open();
    if (display == nullptr) {
        return noDisplay;
    }
    XForceScreenSaver(display, ScreenSaverActive);
    XSync(display, False);
    return Status::success();
}

}  // namespace pontrel
