#include "engine/SystemActions.h"

#include <string>

#include "engine/TextSubstitution.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr const char* programTitle = "Pontrel";

}  // namespace

SystemActions::SystemActions(MainForm& form) : form_(form) {}

void SystemActions::laufwerke_suchen() {
    MainForm& f = form_;
    f.keine_cd = false;
    // A new search replaces what an earlier one listed.
    f.com_8_laufwerk.clear();
    for (const std::string& root : f.platform.system.cdDriveRoots()) {
        f.com_8_laufwerk.addItem(root);
        if (f.com_8_laufwerk.listCount() == 1) {
            f.com_8_laufwerk.setText(root);
        }
    }
    f.com_8_move.setText("Auswerfen");
    const bool found = f.com_8_laufwerk.listCount() > 0;
    f.keine_cd = !found;
    f.com_8_laufwerk.setEnabled(found);
    f.com_8_move.setEnabled(found);
}

void SystemActions::startProgram() {
    MainForm& f = form_;
    std::string& commandLine = f.befehl_wert1[static_cast<std::size_t>(f.befehl_nr)];
    commandLine = withCounter(replaceAll(commandLine, "|", ""), f.input.counterText());
    f.logIgnoredFailure("Programm starten", f.platform.system.startProgram(commandLine));
}

void SystemActions::pcCommand() {
    MainForm& f = form_;
    const std::string& word = f.befehl_wert1[static_cast<std::size_t>(f.befehl_nr)];
    SystemService& system = f.platform.system;
    if (word == "lockpc") {
        f.logIgnoredFailure("Computer sperren", system.lockWorkstation());
    } else if (word == "reboot") {
        f.logIgnoredFailure("Neustart", system.reboot());
        // The notice comes whether or not the request went through.
        f.platform.dialogs.messageBox("reboot", programTitle, MessageButtons::Ok,
                                      MessageIcon::None);
    } else if (word == "shutdown") {
        f.logIgnoredFailure("Herunterfahren", system.shutdown());
    } else if (word == "screenoff") {
        f.logIgnoredFailure("Monitor ausschalten", system.monitorOff());
    } else if (word == "end") {
        endProgram();
    } else if (word == "input-disable") {
        f.logIgnoredFailure("Maus/Tastatur sperren", f.platform.input.blockInput(true));
    } else if (word == "input-enable") {
        f.logIgnoredFailure("Maus/Tastatur entsperren", f.platform.input.blockInput(false));
    }
}

void SystemActions::endProgram() {
    Platform& platform = form_.platform;
    form_.logIgnoredFailure("Maus/Tastatur entsperren", platform.input.blockInput(false));
    platform.input.drainQueuedInput();
    platform.environment.exitProcess(0);
}

void SystemActions::cdTray() {
    MainForm& f = form_;
    if (f.keine_cd) {
        return;
    }
    const auto slot = static_cast<std::size_t>(f.befehl_nr);
    SystemService& system = f.platform.system;
    const auto send = [&](const std::string& command, std::string* answer) {
        f.logIgnoredFailure("CD-Laufwerk (" + command + ")", system.mciSendString(command, answer));
    };
    send("Open " + f.befehl_wert1[slot] + " Type cdaudio Alias cd", &f.mci_antwort);
    send(f.befehl_wert2[slot] == "close" ? "set cd door closed" : "set cd door open", nullptr);
    send("close cd", nullptr);
}

}  // namespace pontrel
