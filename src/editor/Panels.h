#pragma once

namespace pontrel {

class MainForm;

// Showing the panel of the current command, taking over list clicks, changing the command of the
// current slot with the chooser and putting the chooser on the current command.
class Panels {
public:
    explicit Panels(MainForm& form);

    // Shows the panel of befehl_code, filled from the parsed fields of slot befehl_nr.
    void codesichtbar();
    // Makes the list's single selected row the current command.
    void codebox_auswahlclick();
    void com_code_Click();
    // Shows the chooser of the current command (com_code0 for the basic settings, com_code
    // otherwise) and sets befehl_code to 0 or 1 until the record is read.
    void waehler_zeigen();
    // Hides the controls of every panel but the basic settings.
    void nur_grundeinstellungen_zeigen();
    // Runs once after a panel was shown: puts the chooser on the shown command.
    void Timer_combobox_Timer();

private:
    void fillPanel(int code);
    void hideAllPanels();

    MainForm& form_;
};

}  // namespace pontrel
