#pragma once

namespace pontrel {

class MainForm;

// Saving and loading macro files, the command line and the default file.
class MacroStorage {
public:
    explicit MacroStorage(MainForm& form);

    // Examines the command line; true when it named a macro file (which is then opened).
    bool kommandozeile_auswerten();
    void beginn_lesedatei();
    void parameter_lesedatei();

private:
    MainForm& form_;
};

}  // namespace pontrel
