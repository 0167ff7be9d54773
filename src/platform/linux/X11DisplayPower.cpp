#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
// Xlib's Status macro would hide ours.
#undef Status

#include <memory>

#include "platform/linux/X11DisplayPower.h"

namespace pontrel {

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

DisplayConnection openDisplay() {
    return DisplayConnection(XOpenDisplay(nullptr));
}

bool dpmsCapable(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    return DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

const Status noDisplay = Status::failure("cannot open the X display");

}  // namespace

bool X11DisplayPower::hasDpms() {
    const DisplayConnection display = openDisplay();
    return display && dpmsCapable(display.get());
}

Status X11DisplayPower::dpmsOff() {
    const DisplayConnection display = openDisplay();
    if (!display) {
        return noDisplay;
    }
    if (!dpmsCapable(display.get())) {
        return Status::failure("the X server cannot switch the monitor off (no DPMS)");
    }
    // Forcing a level while DPMS is disabled is a BadMatch error, so enable it first; the
    // requests are handled in order on this connection.
    CARD16 level = 0;
    BOOL enabled = False;
    DPMSInfo(display.get(), &level, &enabled);
    if (!enabled) {
        DPMSEnable(display.get());
    }
    DPMSForceLevel(display.get(), DPMSModeOff);
    XSync(display.get(), False);
    return Status::success();
}

Status X11DisplayPower::activateScreenSaver() {
    const DisplayConnection display = openDisplay();
    if (!display) {
        return noDisplay;
    }
    XForceScreenSaver(display.get(), ScreenSaverActive);
    XSync(display.get(), False);
    return Status::success();
}

}  // namespace pontrel
