// The private mutter the GNOME tests stand on: it must come up with its monitor on its own bus,
// give XWayland when asked, and leave this process's environment as it found it.

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/wayland/MutterSession.h"

namespace pontrel::test {
namespace {

TEST(MutterSession, RunsItsMonitorOnItsOwnBusAndXWaylandOnRequest) {
    {
        MutterSession session("de", MutterSession::XWayland::Yes);
        EXPECT_EQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), session.busAddress());
        const std::string state =
            session.run({"gdbus", "call", "--session", "--dest", "org.gnome.Mutter.DisplayConfig",
                         "--object-path", "/org/gnome/Mutter/DisplayConfig", "--method",
                         "org.gnome.Mutter.DisplayConfig.GetCurrentState"},
                        "display-state");
        EXPECT_NE(state.find(MutterSession::monitor), std::string::npos) << state;
        ASSERT_FALSE(session.xDisplay().empty());
        const std::string screen = session.run({"xdpyinfo"}, "xdpyinfo");
        EXPECT_NE(screen.find("1920x1080 pixels"), std::string::npos) << screen;
    }
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS"}) {
        EXPECT_EQ(std::getenv(name), nullptr) << name;
    }
}

}  // namespace
}  // namespace pontrel::test
