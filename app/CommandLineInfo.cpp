#include "CommandLineInfo.h"

#include <string_view>

namespace pontrel {

namespace {

constexpr std::string_view version = "Pontrel 1.2.2\n";

constexpr std::string_view help =
    "Aufruf: Pontrel [MAKRODATEI.qmc]\n"
    "\n"
    "Pontrel stellt Befehlsfolgen für Maus, Tastatur und System zusammen und spielt sie ab.\n"
    "\n"
    "  MAKRODATEI.qmc   die Makrodatei laden und sofort abspielen\n"
    "  --help           diese Hilfe zeigen und beenden\n"
    "  --version        die Version zeigen und beenden\n"
    "  --diagnose       je Dienst zeigen, wie er auf diesem Desktop umgesetzt wird\n"
    "  --hotkey start   dem laufenden Pontrel die Start-Taste melden (für Tastenkürzel\n"
    "  --hotkey stop    des Desktops), bzw. die Abbruch-Taste\n"
    "\n"
    "Ohne Datei wird \"pontrel.qmc\" im aktuellen Verzeichnis beachtet, falls vorhanden.\n"
    "Pontrel braucht eine X11-Anzeige (DISPLAY), unter Wayland XWayland.\n";

}  // namespace

std::optional<std::string> commandLineInfo(int argc, char** argv) {
    if (argc != 2) {
        return std::nullopt;
    }
    const std::string_view argument = argv[1];
    if (argument == "--help" || argument == "-h") {
        return std::string(help);
    }
    if (argument == "--version") {
        return std::string(version);
    }
    return std::nullopt;
}

std::optional<std::string> hotkeyWord(int argc, char** argv) {
    if (argc != 3 || std::string_view(argv[1]) != "--hotkey") {
        return std::nullopt;
    }
    return std::string(argv[2]);
}

}  // namespace pontrel
