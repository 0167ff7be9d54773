#include "BackendChoice.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include <QDBusError>
#include <QDBusMessage>

#include "platform/gnome/MutterProbe.h"
#include "platform/gnome/MutterScreenCast.h"
#include "platform/kde/KWinFakeInput.h"
#include "platform/kde/KWinInputBlocker.h"
#include "platform/kde/KWinKeyState.h"
#include "platform/kde/KWinScreenCapture.h"
#include "platform/portal/PortalProbe.h"
#include "platform/wayland/SwayIpc.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WlrOutputPower.h"

namespace pontrel {

namespace {

const char* const notPossible = "auf diesem Desktop nicht möglich";

// How a service is done, per backend; nullptr where that backend never serves it.
struct Ways {
    const char* x11 = nullptr;
    const char* xwayland = nullptr;
    const char* wlroots = nullptr;
    const char* sway = nullptr;
    const char* mutter = nullptr;
    const char* portal = nullptr;
    const char* portalScreenCast = nullptr;
    const char* hotkeyCommand = nullptr;
    const char* kwin = nullptr;
    const char* logind = nullptr;
    // Why GNOME does not allow it, where it does not.
    const char* notOnGnome = nullptr;
};

struct ServiceLine {
    std::string service;
    const char* how;     // nullptr: no backend serves it
    const char* reason;  // why not, where the desktop says; else nullptr
};

ServiceLine line(const char* service, Backend backend, const Ways& ways, bool gnome) {
    const char* how = nullptr;
    switch (backend) {
        case Backend::X11:
            how = ways.x11;
            break;
        case Backend::XWayland:
            how = ways.xwayland;
            break;
        case Backend::Wlroots:
            how = ways.wlroots;
            break;
        case Backend::Sway:
            how = ways.sway;
            break;
        case Backend::Mutter:
            how = ways.mutter;
            break;
        case Backend::Portal:
            how = ways.portal;
            break;
        case Backend::PortalScreenCast:
            how = ways.portalScreenCast;
            break;
        case Backend::HotkeyCommand:
            how = ways.hotkeyCommand;
            break;
        case Backend::KWin:
            how = ways.kwin;
            break;
        case Backend::Logind:
            how = ways.logind;
            break;
        case Backend::None:
            break;
    }
    return {service, how, how == nullptr && gnome ? ways.notOnGnome : nullptr};
}

std::string unavailable(const ServiceLine& service, const char* lead) {
    std::string text = lead;
    if (service.reason != nullptr) {
        text += std::string(" (") + service.reason + ")";
    }
    return text;
}

}  // namespace

BackendChoice chooseBackends(const DesktopFacts& facts) {
    BackendChoice choice;
    choice.lock = Backend::Logind;
    if (!facts.waylandSession) {
        if (facts.x11Display) {
            choice.input = choice.keyState = choice.pointerPosition = choice.screen =
                choice.inputBlock = choice.monitorOff = choice.windowEffects = choice.recording =
                    Backend::X11;
        }
        return choice;
    }
    const Backend viaXWayland = facts.x11Display ? Backend::XWayland : Backend::None;
    // The portals only where nothing of the desktop's own serves.
    const Backend portalInput = facts.portalRemoteDesktop > 0 ? Backend::Portal : viaXWayland;
    choice.input = facts.virtualKeyboard && facts.virtualPointer ? Backend::Wlroots
                   : facts.mutterRemoteDesktop                   ? Backend::Mutter
                   : facts.kwinFakeInput                         ? Backend::KWin
                                                                 : portalInput;
    choice.gnome = facts.gnome || facts.mutterRemoteDesktop || facts.mutterScreenCast;
    // A screen cast keeps its stream open for the pixel watch; Screenshot takes a whole picture
    // each time.
    const Backend portalScreen = facts.portalScreenCast > 0   ? Backend::PortalScreenCast
                                 : facts.portalScreenshot > 0 ? Backend::Portal
                                                              : Backend::None;
    choice.screen = facts.screencopy         ? Backend::Wlroots
                    : facts.mutterScreenCast ? Backend::Mutter
                    : facts.kwinScreenshot   ? Backend::KWin
                                             : portalScreen;
    // XWayland sees keys only while an X11 window has the focus: better than nothing. Older
    // GNOME runs a command for a shortcut the user set up.
    const Backend commandOrXWayland = facts.gnome ? Backend::HotkeyCommand : viaXWayland;
    const Backend portalKeys =
        facts.portalGlobalShortcuts > 0 ? Backend::Portal : commandOrXWayland;
    choice.keyState = facts.swayIpc         ? Backend::Sway
                      : facts.kwinShortcuts ? Backend::KWin
                                            : portalKeys;
    choice.inputBlock = facts.swayIpc            ? Backend::Sway
                        : facts.kwinInputDevices ? Backend::KWin
                                                 : Backend::None;
    choice.monitorOff = facts.outputPower           ? Backend::Wlroots
                        : facts.mutterDisplayConfig ? Backend::Mutter
                        : facts.kwinDpms            ? Backend::KWin
                                                    : Backend::None;
    choice.pointerPosition = viaXWayland;
    // Our window stays an X11 window where XWayland exists.
    choice.windowEffects = viaXWayland;
    return choice;
}

namespace {

std::vector<ServiceLine> serviceLines(const BackendChoice& choice) {
    const auto line = [&choice](const char* service, Backend backend, const Ways& ways) {
        return pontrel::line(service, backend, ways, choice.gnome);
    };
    return {
        line("Tippen, Tasten und Maus", choice.input,
             {.x11 = "X11 (XTest)",
              .xwayland = "X11 über XWayland (erreicht nur X11-Programme)",
              .wlroots = "wlroots (virtuelle Tastatur und Maus)",
              .mutter = "GNOME (Fernsteuerungssitzung von Mutter; Zeichen außerhalb der "
                        "Tastaturbelegung über die Zwischenablage)",
              .portal = "Desktop-Portal RemoteDesktop (nur Zeichen der Tastaturbelegung; der "
                        "Desktop fragt beim ersten Mal um Erlaubnis)",
              .kwin = "KWin (Fake-Input mit den Tasten des Layouts, andere Zeichen über die "
                      "Zwischenablage)"}),
        line("Tastenstatus und Hotkeys", choice.keyState,
             {.x11 = "X11 (XInput2)",
              .xwayland = "X11 über XWayland (nur solange ein X11-Programm den Fokus hat)",
              .sway = "sway (Tastenbelegung, solange die Taste abgefragt wird)",
              .portal = "Desktop-Portal GlobalShortcuts (Tastenkürzel, solange die Taste "
                        "abgefragt wird)",
              .hotkeyCommand = "GNOME-Tastenkürzel, die \"Pontrel --hotkey start\" und "
                               "\"Pontrel --hotkey stop\" ausführen (einzurichten wie unten "
                               "beschrieben)",
              .kwin = "KWin (globale Kurzbefehle, solange die Taste abgefragt wird)"}),
        line("Mausposition (Enter bei Befehl 002 und 010)", choice.pointerPosition,
             {.x11 = "X11",
              .xwayland =
                  "X11 über XWayland (nur über X11-Fenstern, Enter nur im Pontrel-Fenster)"}),
        line("Bildschirmfoto und Pixel Veränderung", choice.screen,
             {.x11 = "X11 (XShm)",
              .wlroots = "wlroots (screencopy)",
              .mutter = "GNOME (ScreenCast über PipeWire)",
              .portal = "Desktop-Portal Screenshot (ein ganzes Bild je Aufnahme)",
              .portalScreenCast = "Desktop-Portal ScreenCast über PipeWire (der Desktop fragt "
                                  "beim ersten Mal um Erlaubnis und merkt sie sich)",
              .kwin = "KWin (ScreenShot2)"}),
        line("Tastatur blockieren", choice.inputBlock,
             {.x11 = "X11 (XInput2-Geräte ergreifen)",
              .sway = "sway (Eingabegeräte abschalten, mit Wächterprozess)",
              .kwin = "KWin (Eingabegeräte abschalten, mit Wächterprozess)",
              .notOnGnome = "GNOME lässt Eingabegeräte nur mit Root-Rechten abschalten"}),
        line("Computer sperren", choice.lock, {.logind = "logind"}),
        line("Monitor ausschalten", choice.monitorOff,
             {.x11 = "X11 (DPMS)",
              .wlroots = "wlroots (Bildschirme aus, die nächste Eingabe schaltet sie an)",
              .mutter = "GNOME (Bildschirmkonfiguration von Mutter)",
              .kwin = "KWin (DPMS)"}),
        line("Transparenz und im Vordergrund", choice.windowEffects,
             {.x11 = "X11-Fenster", .xwayland = "X11-Fenster über XWayland"}),
        line("Aufnahme", choice.recording,
             {.x11 = "X11 (XInput2)",
              .notOnGnome = "GNOME gibt Tastatur und Maus anderer Programme nur mit "
                            "Root-Rechten heraus"}),
    };
}

}  // namespace

std::vector<std::string> describeBackends(const BackendChoice& choice) {
    std::vector<std::string> lines;
    for (const ServiceLine& service : serviceLines(choice)) {
        lines.push_back(service.service + ": " +
                        (service.how != nullptr ? service.how : unavailable(service, notPossible)));
    }
    return lines;
}

std::vector<std::string> unavailableServices(const BackendChoice& choice) {
    std::vector<std::string> services;
    for (const ServiceLine& service : serviceLines(choice)) {
        if (service.how == nullptr) {
            services.push_back(unavailable(service, service.service.c_str()));
        }
    }
    return services;
}

std::vector<std::string> diagnosisHints(const DesktopFacts& facts) {
    if (!facts.kwin || facts.kwinFakeInput) {
        return {};
    }
    std::error_code ignored;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", ignored).string();
    return {
        "KWin erlaubt diesem Programm weder Fake-Input noch Bildschirmfotos: es fehlt eine "
        "Desktop-Datei, die es erlaubt.",
        "Abhilfe: das Paket pontrel installieren (es bringt "
        "/usr/share/applications/pontrel.desktop mit) oder eine Datei "
        "~/.local/share/applications/pontrel.desktop mit diesen Zeilen anlegen:",
        "  [Desktop Entry]",
        "  Type=Application",
        "  Name=Pontrel",
        "  Exec=" + program,
        "  X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input,org_kde_kwin_keystate",
        "  X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2",
        "Danach Pontrel neu starten.",
    };
}

namespace {

bool waylandDisplayNamed() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland != nullptr && *wayland != '\0';
}

}  // namespace

bool waylandCompositorAnswers() {
    return waylandDisplayNamed() && WaylandConnection().usable();
}

DesktopFacts probeDesktop(bool x11Display) {
    // Qt's D-Bus thread passes these on in queued calls, at times before Qt has registered them
    // (it then prints "Trying to construct an instance of an invalid type"): registered first.
    qRegisterMetaType<QDBusMessage>();
    qRegisterMetaType<QDBusError>();
    DesktopFacts facts;
    facts.x11Display = x11Display;
    if (!waylandDisplayNamed()) {
        return facts;
    }
    const WaylandConnection connection;
    facts.waylandSession = connection.usable();
    facts.virtualKeyboard = connection.keyboardManager() != nullptr && connection.seat() != nullptr;
    facts.virtualPointer = connection.pointerManager() != nullptr && connection.seat() != nullptr;
    facts.screencopy = connection.screencopyManager() != nullptr && connection.shm() != nullptr;
    facts.outputPower = connection.outputPowerManager() != nullptr && hearsUserInput(connection);
    facts.swayIpc = SwayIpc().reachable();
    facts.mutterScreenCast = MutterScreenCast::offered();
    const MutterServices mutter = probeMutter();
    facts.mutterRemoteDesktop = mutter.remoteDesktop;
    facts.mutterDisplayConfig = mutter.displayConfig;
    const PortalVersions portal = probePortal();
    facts.portalRemoteDesktop = portal.remoteDesktop;
    facts.portalScreenCast = portal.screenCast;
    facts.portalScreenshot = portal.screenshot;
    facts.portalGlobalShortcuts = portal.globalShortcuts;
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    facts.gnome =
        desktop != nullptr && std::string_view(desktop).find("GNOME") != std::string_view::npos;
    facts.kwin = runsOnKWin(connection);
    if (facts.kwin) {
        facts.kwinFakeInput = KWinFakeInput::offered(connection);
        facts.kwinDpms = connection.global("org_kde_kwin_dpms_manager").has_value();
        facts.kwinInputDevices = kwinInputDevicesAnswer();
        facts.kwinScreenshot = facts.kwinFakeInput && kwinScreenshotsAnswer();
        // Hot keys come with KWin's input service alone.
        facts.kwinShortcuts = facts.kwinFakeInput && kwinShortcutsAnswer();
    }
    return facts;
}

}  // namespace pontrel
