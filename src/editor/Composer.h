#pragma once

#include <string>

namespace pontrel {

class MainForm;
class TextBox;

// Composing the record of the current command from its panel, and the field handlers of panels
// 1 to 10 that rewrite the record on every change.
class Composer {
public:
    explicit Composer(MainForm& form);

    // Writes the record of befehl_code from its panel into slot befehl_nr (record 0 always into
    // slot 0) and rebuilds the list. Writes nothing while a macro runs.
    void schreibebefehl();

    void txt_1_random1_Change();
    void txt_1_random2_Change();
    void txt_2_x_Change();
    void txt_2_y_Change();
    void opt_3_click_Click(int index);
    void txt_4_eingabetext_Change();
    void txt_5_start_Change();
    void txt_5_hochzählen_Change();
    void txt_6_pfad_Change();
    void opt_7_pc_Click(int index);
    void com_8_laufwerk_Click();
    void com_8_move_Click();
    void txt_9_pfad_Change();
    void txt_10_x_Change();
    void txt_10_y_Change();
    void txt_10_abbruch_Change();

private:
    std::string befehl(int code);
    // Handlers stay silent while the program fills the panel or a macro runs.
    bool editable() const;
    // Composes the record of code and reads it back, so the parsed fields match the new text.
    void writeRecord(int code);
    void fieldChanged(int code);
    void freeTextChanged(TextBox& box, int code);
    // Keeps a random bound within 0 to 60000 and the lower bound at most the upper one.
    void randomBoundChanged(TextBox& box);
    void keepRandomBoundsInOrder(TextBox& changed, TextBox& follower);

    MainForm& form_;
};

}  // namespace pontrel
