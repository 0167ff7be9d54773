#pragma once

#include <span>
#include <string>

#include "engine/HotKeyTable.h"

namespace pontrel {

class ComboBox;
class MainForm;

// Panel 0: the wait after every command, the repetitions and the two hot keys, kept in record 0.
class BasicSettings {
public:
    explicit BasicSettings(MainForm& form);

    // The lower limits applied when another command becomes current or the macro is saved:
    // a wait below 10 becomes "10", a repeat count below 1 becomes "0".
    void grundeinstellungen_normalisieren();

private:
    void txt_0_wait_Change();
    void txt_0_loop_Change();
    void txt_0_wait_LostFocus();
    void txt_0_loop_LostFocus();
    void com_0_startcode_Click();
    void com_0_abbruchcode_Click();
    void hotKeyChosen(const ComboBox& chooser, std::span<const HotKey> table, std::string& code,
                      std::string& name);
    bool silenced() const;
    void grundeinstellungen_schreiben();

    MainForm& form_;
};

}  // namespace pontrel
