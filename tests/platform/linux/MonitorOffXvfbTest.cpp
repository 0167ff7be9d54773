#include <gtest/gtest.h>

#include <memory>

#include "platform/linux/LinuxSystemService.h"
#include "platform/x11/X11DisplayPower.h"
#include "support/display/XvfbServer.h"

// Xlib last: its macros (None, Status) clash with names above.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace pontrel {
namespace {

int screenSaverState(Display* display) {
    std::unique_ptr<XScreenSaverInfo, int (*)(void*)> info(XScreenSaverAllocInfo(), XFree);
    XScreenSaverQueryInfo(display, DefaultRootWindow(display), info.get());
    return info->state;
}

// Xvfb has no DPMS: "screenoff" falls back to the screen saver there.
TEST(MonitorOffXvfbTest, ActivatesTheScreenSaverWhereTheServerHasNoDpms) {
    test::XvfbServer server;
    std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(server.display().c_str()),
                                                        XCloseDisplay);
    ASSERT_TRUE(display);
    int eventBase = 0;
    int errorBase = 0;
    ASSERT_TRUE(XScreenSaverQueryExtension(display.get(), &eventBase, &errorBase));
    ASSERT_EQ(screenSaverState(display.get()), ScreenSaverOff);

    X11DisplayPower power;
    LinuxSystemService service{power};
    EXPECT_TRUE(service.monitorOff().ok());
    EXPECT_EQ(screenSaverState(display.get()), ScreenSaverOn);
}

TEST(MonitorOffXvfbTest, FailsWithoutADisplay) {
    setenv("DISPLAY", ":nonexistent", 1);
    X11DisplayPower power;
    LinuxSystemService service{power};
    EXPECT_FALSE(service.monitorOff().ok());
}

}  // namespace
}  // namespace pontrel
