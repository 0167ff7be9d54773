#include "BackendChoice.h"

#include <cstdlib>

#include "platform/wayland/SwayIpc.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

namespace {

const char* const notPossible = "auf diesem Desktop nicht möglich";

std::string line(const char* service, Backend backend, const char* how) {
    return std::string(service) + ": " + (backend == Backend::None ? notPossible : how);
}

const char* x11Or(Backend backend, const char* x11, const char* xwayland, const char* wayland) {
    switch (backend) {
        case Backend::X11:
            return x11;
        case Backend::XWayland:
            return xwayland;
        default:
            return wayland;
    }
}

}  // namespace

BackendChoice chooseBackends(const DesktopFacts& facts) {
    BackendChoice choice;
    choice.lock = Backend::Logind;
    if (!facts.waylandSession) {
        if (facts.x11Display) {
            choice.input = choice.keyState = choice.screen = choice.inputBlock = choice.monitorOff =
                choice.windowEffects = Backend::X11;
        }
        return choice;
    }
    const Backend viaXWayland = facts.x11Display ? Backend::XWayland : Backend::None;
    choice.input = facts.virtualKeyboard && facts.virtualPointer ? Backend::Wlroots : viaXWayland;
    choice.screen = facts.screencopy ? Backend::Wlroots : Backend::None;
    // XWayland sees keys only while an X11 window has the focus: better than nothing.
    choice.keyState = viaXWayland;
    // Our window stays an X11 window where XWayland exists.
    choice.windowEffects = viaXWayland;
    return choice;
}

std::vector<std::string> describeBackends(const BackendChoice& choice) {
    return {
        line("Tippen, Tasten und Maus", choice.input,
             x11Or(choice.input, "X11 (XTest)", "X11 über XWayland (erreicht nur X11-Programme)",
                   "wlroots (virtuelle Tastatur und Maus)")),
        line("Tastenstatus und Hotkeys", choice.keyState,
             x11Or(choice.keyState, "X11 (XInput2)",
                   "X11 über XWayland (nur solange ein X11-Programm den Fokus hat)", "")),
        line("Bildschirmfoto und Pixel Veränderung", choice.screen,
             x11Or(choice.screen, "X11 (XShm)", "", "wlroots (screencopy)")),
        line("Tastatur blockieren", choice.inputBlock,
             x11Or(choice.inputBlock, "X11 (XInput2-Geräte ergreifen)", "", "")),
        line("Computer sperren", choice.lock, "logind"),
        line("Monitor ausschalten", choice.monitorOff,
             x11Or(choice.monitorOff, "X11 (DPMS)", "", "")),
        line("Transparenz und im Vordergrund", choice.windowEffects,
             x11Or(choice.windowEffects, "X11-Fenster", "X11-Fenster über XWayland", "")),
    };
}

DesktopFacts probeDesktop(bool x11Display) {
    DesktopFacts facts;
    facts.x11Display = x11Display;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland == nullptr || *wayland == '\0') {
        return facts;
    }
    const WaylandConnection connection;
    facts.waylandSession = connection.usable();
    facts.virtualKeyboard = connection.keyboardManager() != nullptr && connection.seat() != nullptr;
    facts.virtualPointer = connection.pointerManager() != nullptr && connection.seat() != nullptr;
    facts.screencopy = connection.screencopyManager() != nullptr && connection.shm() != nullptr;
    facts.swayIpc = SwayIpc().reachable();
    return facts;
}

}  // namespace pontrel
