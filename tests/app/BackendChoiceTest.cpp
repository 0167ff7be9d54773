// Which backend serves each service on the Wayland desktops the portals matter for.

#include "BackendChoice.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pontrel {
namespace {

DesktopFacts wayland() {
    DesktopFacts facts;
    facts.waylandSession = true;
    facts.x11Display = true;
    return facts;
}

TEST(BackendChoiceTest, PortalsServeOnlyWhereTheDesktopHasNoWayOfItsOwn) {
    struct Case {
        const char* desktop;
        DesktopFacts facts;
        Backend input, keyState, screen;
    };
    DesktopFacts portalsOnly = wayland();
    portalsOnly.portalRemoteDesktop = 1;
    portalsOnly.portalScreenshot = 2;
    portalsOnly.portalGlobalShortcuts = 1;
    DesktopFacts hyprland = portalsOnly;
    hyprland.virtualKeyboard = hyprland.virtualPointer = hyprland.screencopy = true;
    DesktopFacts sway = hyprland;
    sway.swayIpc = true;
    DesktopFacts withScreenCast = portalsOnly;
    withScreenCast.portalScreenCast = 4;
    DesktopFacts oldGnome = wayland();
    oldGnome.gnome = true;
    oldGnome.portalRemoteDesktop = 1;
    oldGnome.portalScreenshot = 2;
    const Case cases[] = {
        {"portals only", portalsOnly, Backend::Portal, Backend::Portal, Backend::Portal},
        {"portals with ScreenCast", withScreenCast, Backend::Portal, Backend::Portal,
         Backend::PortalScreenCast},
        {"wlroots with GlobalShortcuts", hyprland, Backend::Wlroots, Backend::Portal,
         Backend::Wlroots},
        {"sway", sway, Backend::Wlroots, Backend::Sway, Backend::Wlroots},
        {"GNOME before 48", oldGnome, Backend::Portal, Backend::HotkeyCommand, Backend::Portal},
        {"no portal", wayland(), Backend::XWayland, Backend::XWayland, Backend::None},
    };
    for (const Case& c : cases) {
        const BackendChoice choice = chooseBackends(c.facts);
        EXPECT_EQ(choice.input, c.input) << c.desktop;
        EXPECT_EQ(choice.keyState, c.keyState) << c.desktop;
        EXPECT_EQ(choice.screen, c.screen) << c.desktop;
    }
}

TEST(BackendChoiceTest, TheDiagnosisNamesThePortalsAndTheGnomeHotkeyCommand) {
    DesktopFacts facts = wayland();
    facts.gnome = true;
    facts.portalRemoteDesktop = 1;
    facts.portalScreenshot = 2;
    const std::vector<std::string> lines = describeBackends(chooseBackends(facts));
    const auto says = [&lines](const std::string& text) {
        return std::any_of(lines.begin(), lines.end(), [&text](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    };
    EXPECT_TRUE(says("Tippen, Tasten und Maus: Desktop-Portal RemoteDesktop"));
    EXPECT_TRUE(says("Bildschirmfoto und Pixel Veränderung: Desktop-Portal Screenshot"));
    EXPECT_TRUE(says("Pontrel --hotkey start"));
    facts.portalScreenCast = 4;
    EXPECT_EQ(describeBackends(chooseBackends(facts))[3],
              "Bildschirmfoto und Pixel Veränderung: Desktop-Portal ScreenCast über PipeWire (der "
              "Desktop fragt beim ersten Mal um Erlaubnis und merkt sie sich)");
}

}  // namespace
}  // namespace pontrel
