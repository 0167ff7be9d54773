#pragma once

#include <span>
#include <string>

namespace pontrel {

class MainForm;

// The command list as a working surface: selection, the context menu, its keyboard shortcuts,
// the list's own copy buffer, and trying one command by double-click.
class ListEditing {
public:
    explicit ListEditing(MainForm& form);

    void mnunewcommand_Click();
    void mnucopy_Click();
    void mnucut_Click();
    void mnupaste_Click();
    void mnudelete_Click();
    void mnuall_Click();
    void lst_code_DblClick();
    // Every slot from befehl_anzahl + 1 to the last becomes empty.
    void entfernte_befehle_leeren();
    // Inserts records behind the current command, as Paste does, and shows the first of them;
    // false, and nothing changed, when they would pass the list's limit.
    [[nodiscard]] bool hinter_aktuellem_einfuegen(std::span<const std::string> records);

private:
    // Inserts records behind row `after` (0: before the first command); false, and nothing
    // changed, when they would pass the list's limit.
    [[nodiscard]] bool befehle_einfuegen(int after, std::span<const std::string> records);
    void lst_code_MouseDown(int button);
    void lst_code_KeyUp(int keyCode);
    void lst_code_KeyPress(int character);
    void kontextmenue_zeigen();
    void auswahl_uebernehmen();
    // The last list row (at most 999) and the first selected row (0 when none is).
    int lastRow() const;
    int firstSelectedRow() const;
    void closeGaps();
    // Ends an edit that moved the records: the current command, now in slot nr, stays current,
    // highlighted and shown, so the next edit of its panel lands on it.
    void aktuellen_befehl_zeigen(int nr);

    MainForm& form_;
};

}  // namespace pontrel
