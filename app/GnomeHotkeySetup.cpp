#include "GnomeHotkeySetup.h"

namespace pontrel {

namespace {

const std::string schema = "org.gnome.settings-daemon.plugins.media-keys";
const std::string folder = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";

std::string shortcutCommands(const std::string& program, const std::string& word,
                             const std::string& binding) {
    const std::string key = schema + ".custom-keybinding:" + folder + "pontrel-" + word + "/";
    return "  gsettings set " + key + " name 'Pontrel " + word + "'\n" + "  gsettings set " + key +
           " command '" + program + " --hotkey " + word + "'\n" + "  gsettings set " + key +
           " binding '" + binding + "'\n";
}

}  // namespace

std::string gnomeHotkeySetup(const std::string& program) {
    return "Hotkeys unter GNOME einrichten (Pontrel ändert die Tastenkürzel nicht selbst):\n"
           "  1. die vorhandene Liste zeigen:\n"
           "  gsettings get " +
           schema +
           " custom-keybindings\n"
           "  2. dieselbe Liste um die zwei Einträge von Pontrel ergänzt setzen, zum Beispiel:\n"
           "  gsettings set " +
           schema + " custom-keybindings \"['" + folder + "pontrel-start/', '" + folder +
           "pontrel-stop/']\"\n"
           "  3. die Tastenkürzel anlegen (Tasten nach Wunsch):\n" +
           shortcutCommands(program, "start", "<Super>F9") +
           shortcutCommands(program, "stop", "<Super>F10");
}

}  // namespace pontrel
