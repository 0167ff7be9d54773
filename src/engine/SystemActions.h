#pragma once

namespace pontrel {

class MainForm;

// Program start, PC commands, the CD tray and the drive discovery. The commands work on the
// record at befehl_nr.
class SystemActions {
public:
    explicit SystemActions(MainForm& form);

    void laufwerke_suchen();

    void startProgram();
    void pcCommand();
    void cdTray();

private:
    // Ends the program at once: the input block goes first, queued input is delivered.
    void endProgram();

    MainForm& form_;
};

}  // namespace pontrel
