#pragma once

#include <string>
#include <vector>

namespace pontrel {

// What the desktop offers, found once at start-up.
struct DesktopFacts {
    bool waylandSession = false;  // WAYLAND_DISPLAY names a compositor that answers
    bool x11Display = false;      // an X display opens (on Wayland: XWayland)
    bool virtualKeyboard = false;
    bool virtualPointer = false;
    bool screencopy = false;
    bool outputPower = false;  // outputs switched off, and woken at the user's next input
    bool swayIpc = false;
    bool mutterScreenCast = false;     // GNOME's screen cast on the session bus
    bool mutterRemoteDesktop = false;  // with the screen cast: input on GNOME
    bool mutterDisplayConfig = false;
    // Versions of the desktop portal's interfaces; 0 where it lacks one.
    unsigned portalRemoteDesktop = 0;
    unsigned portalScreenCast = 0;
    unsigned portalScreenshot = 0;
    unsigned portalGlobalShortcuts = 0;
    bool gnome = false;          // XDG_CURRENT_DESKTOP names GNOME
    bool kwin = false;           // the compositor is KWin (KDE Plasma)
    bool kwinFakeInput = false;  // KWin offers this program its fake input
    bool kwinScreenshot = false;
    bool kwinShortcuts = false;  // kglobalaccel answers
    bool kwinDpms = false;
    bool kwinInputDevices = false;  // KWin lists its input devices, which it can switch off
};

// Where each service of the program comes from on this desktop.
enum class Backend {
    None,
    X11,       // the X server of an X11 session
    XWayland,  // X11 through XWayland: reaches X11 programs only
    Wlroots,   // the wlroots protocols (virtual keyboard and pointer, screencopy, output power)
    Sway,      // sway's IPC (key bindings, input configuration)
    Mutter,    // mutter's D-Bus interfaces (GNOME)
    Portal,    // the desktop portals (RemoteDesktop, Screenshot, GlobalShortcuts)
    PortalScreenCast,  // the ScreenCast portal, with the video through PipeWire
    // GNOME keyboard shortcuts the user sets up to run "Pontrel --hotkey start|stop"
    HotkeyCommand,
    KWin,  // KWin's fake input and D-Bus services (KDE Plasma)
    Logind,
};

struct BackendChoice {
    Backend input = Backend::None;  // typing, keys and the pointer
    Backend keyState = Backend::None;
    Backend pointerPosition = Backend::None;
    Backend screen = Backend::None;
    Backend inputBlock = Backend::None;
    Backend lock = Backend::None;
    Backend monitorOff = Backend::None;
    Backend windowEffects = Backend::None;
    Backend recording = Backend::None;
    // The desktop is GNOME: what it does not allow is said with GNOME's reason.
    bool gnome = false;
};

// The first backend that serves each service on the desktop described. An X11 session keeps
// the X11 backends for everything.
BackendChoice chooseBackends(const DesktopFacts& facts);

// One German line per service: the backend chosen, or why none could be.
std::vector<std::string> describeBackends(const BackendChoice& choice);

// German lines on what the user can do to get more of the services; empty when nothing helps.
std::vector<std::string> diagnosisHints(const DesktopFacts& facts);

// The German names of the services no backend serves, each with the desktop's reason where
// one is known; empty when everything works.
std::vector<std::string> unavailableServices(const BackendChoice& choice);

// True when WAYLAND_DISPLAY names a compositor that answers.
bool waylandCompositorAnswers();

// The facts of the desktop this program runs on. Its D-Bus probes want the application object
// to exist already.
DesktopFacts probeDesktop(bool x11Display);

}  // namespace pontrel
