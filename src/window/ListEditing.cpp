#include "window/ListEditing.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/Numbers.h"
#include "platform/controls/ListBox.h"
#include "window/ChangeLock.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr int keyPageUp = 33;
constexpr int keyDown = 40;
constexpr int keyDelete = 46;
constexpr int ctrlA = 1;
constexpr int ctrlC = 3;
constexpr int ctrlD = 4;
constexpr int ctrlN = 14;
constexpr int ctrlR = 18;
constexpr int ctrlV = 22;
constexpr int ctrlX = 24;
constexpr int pcCommandCode = 7;
constexpr int pixelWatchCode = 10;
constexpr int pcCommandTryDelay = 100;

}  // namespace

ListEditing::ListEditing(MainForm& form) : form_(form) {
    MainForm& f = form_;
    f.lst_code.MouseDown.connect(
        [this](MouseButton button) { lst_code_MouseDown(static_cast<int>(button)); });
    f.lst_code.KeyUp.connect([this](int keyCode) { lst_code_KeyUp(keyCode); });
    f.lst_code.KeyPress.connect([this](int character) { lst_code_KeyPress(character); });
    f.lst_code.DblClick.connect([this] { lst_code_DblClick(); });
    f.mnunewcommand.Click.connect([this] { mnunewcommand_Click(); });
    f.mnucut.Click.connect([this] { mnucut_Click(); });
    f.mnucopy.Click.connect([this] { mnucopy_Click(); });
    f.mnupaste.Click.connect([this] { mnupaste_Click(); });
    f.mnudelete.Click.connect([this] { mnudelete_Click(); });
    f.mnuall.Click.connect([this] { mnuall_Click(); });
}

int ListEditing::lastRow() const {
    return std::min(form_.befehl_anzahl, form_.anzeige_grenze);
}

int ListEditing::firstSelectedRow() const {
    for (int row = 0; row <= lastRow(); ++row) {
        if (form_.lst_code.selected(row)) {
            return row;
        }
    }
    return 0;
}

void ListEditing::lst_code_MouseDown(int button) {
    if (button == static_cast<int>(MouseButton::Right)) {
        ChangeLock lock(form_.aenderung_sperren);
        kontextmenue_zeigen();
    } else if (button == static_cast<int>(MouseButton::Left)) {
        auswahl_uebernehmen();
    }
}

void ListEditing::auswahl_uebernehmen() {
    ChangeLock lock(form_.aenderung_sperren);
    form_.panels.codebox_auswahlclick();
    form_.panels.codesichtbar();
}

void ListEditing::lst_code_KeyUp(int keyCode) {
    if (keyCode >= keyPageUp && keyCode <= keyDown) {
        auswahl_uebernehmen();
    } else if (keyCode == keyDelete) {
        mnudelete_Click();
    }
}

void ListEditing::lst_code_KeyPress(int character) {
    switch (character) {
        case ctrlA:
            mnuall_Click();
            break;
        case ctrlC:
            mnucopy_Click();
            break;
        case ctrlD:
            form_.options.mnudisplay_Click();
            break;
        case ctrlN:
            mnunewcommand_Click();
            break;
        case ctrlR:
            form_.recording.mnurecord_Click();
            break;
        case ctrlV:
            mnupaste_Click();
            break;
        case ctrlX:
            mnucut_Click();
            break;
        default:
            break;
    }
}

void ListEditing::kontextmenue_zeigen() {
    MainForm& f = form_;
    const bool basicSettingsSelected = f.lst_code.selected(0);
    for (MenuItem* item : {&f.mnucut, &f.mnucopy, &f.mnudelete}) {
        item->setEnabled(!basicSettingsSelected);
    }
    if (f.befehl_anzahl <= 1) {
        f.mnucut.setEnabled(false);
        f.mnudelete.setEnabled(false);
    }
    f.mnupaste.setEnabled(!f.kopier_puffer[0].empty());
    f.platform.window.popupMenu(f.mnulistboxcode);
}

void ListEditing::mnunewcommand_Click() {
    MainForm& f = form_;
    if (f.befehl_anzahl >= f.anzeige_grenze) {
        return;
    }
    ChangeLock lock(f.aenderung_sperren);
    const int first = firstSelectedRow();
    f.navigation.anzahl_setzen(f.befehl_anzahl + 1);
    // The copy lands behind the selected command; the basic settings are never copied.
    const int lowest = std::max(first, 1) + 1;
    for (int slot = f.befehl_anzahl; slot >= lowest; --slot) {
        f.befehl_zeilen[static_cast<std::size_t>(slot)] =
            f.befehl_zeilen[static_cast<std::size_t>(slot - 1)];
    }
    aktuellen_befehl_zeigen(f.befehl_nr >= lowest ? f.befehl_nr + 1 : f.befehl_nr);
}

void ListEditing::mnucopy_Click() {
    MainForm& f = form_;
    if (f.befehl_nr == 0) {
        return;
    }
    ChangeLock lock(f.aenderung_sperren);
    std::fill(f.kopier_puffer.begin(), f.kopier_puffer.end(), std::string());
    std::size_t next = 0;
    for (int row = 0; row <= lastRow(); ++row) {
        if (f.lst_code.selected(row)) {
            f.kopier_puffer[next++] = f.befehl_zeilen[static_cast<std::size_t>(row)];
        }
    }
}

void ListEditing::mnucut_Click() {
    if (form_.befehl_nr != 0) {
        mnucopy_Click();
        mnudelete_Click();
    }
}

void ListEditing::entfernte_befehle_leeren() {
    for (std::size_t slot = static_cast<std::size_t>(form_.befehl_anzahl) + 1;
         slot < FormState::slotCount; ++slot) {
        form_.befehl_zeilen[slot].clear();
    }
}

void ListEditing::mnupaste_Click() {
    MainForm& f = form_;
    ChangeLock lock(f.aenderung_sperren);
    const int first = firstSelectedRow();
    const auto buffered =
        static_cast<int>(std::find(f.kopier_puffer.begin(), f.kopier_puffer.end(), std::string()) -
                         f.kopier_puffer.begin());
    if (befehle_einfuegen(first,
                          std::span(f.kopier_puffer).first(static_cast<std::size_t>(buffered)))) {
        aktuellen_befehl_zeigen(f.befehl_nr > first ? f.befehl_nr + buffered : f.befehl_nr);
    }
}

bool ListEditing::hinter_aktuellem_einfuegen(std::span<const std::string> records) {
    ChangeLock lock(form_.aenderung_sperren);
    const int after = form_.befehl_nr;
    if (!befehle_einfuegen(after, records)) {
        return false;
    }
    aktuellen_befehl_zeigen(after + 1);
    return true;
}

bool ListEditing::befehle_einfuegen(int after, std::span<const std::string> records) {
    MainForm& f = form_;
    const auto count = static_cast<int>(records.size());
    if (f.befehl_anzahl + count > f.anzeige_grenze) {
        return false;
    }
    entfernte_befehle_leeren();
    const int oldLast = f.befehl_anzahl;
    f.navigation.anzahl_setzen(oldLast + count);
    // Commands behind row `after` move up to open a gap for the new ones.
    for (int slot = oldLast; count > 0 && slot > after; --slot) {
        f.befehl_zeilen[static_cast<std::size_t>(slot + count)] =
            std::move(f.befehl_zeilen[static_cast<std::size_t>(slot)]);
        f.befehl_zeilen[static_cast<std::size_t>(slot)].clear();
    }
    for (int j = 0; j < count; ++j) {
        f.befehl_zeilen[static_cast<std::size_t>(after + 1 + j)] =
            records[static_cast<std::size_t>(j)];
    }
    return true;
}

void ListEditing::closeGaps() {
    auto begin = form_.befehl_zeilen.begin();
    std::stable_partition(begin + 1, begin + form_.befehl_anzahl + 1,
                          [](const std::string& record) { return !record.empty(); });
}

void ListEditing::mnudelete_Click() {
    MainForm& f = form_;
    if (f.befehl_nr == 0) {
        return;
    }
    ChangeLock lock(f.aenderung_sperren);
    int selectedCommands = 0;
    for (int row = 1; row <= lastRow(); ++row) {
        selectedCommands += f.lst_code.selected(row) ? 1 : 0;
    }
    // The first command always stays, also when every command (and the basic settings) is
    // selected.
    const int firstDeletable = selectedCommands == f.befehl_anzahl ? 2 : 1;
    int deleted = 0;
    int deletedBeforeCurrent = 0;
    for (int row = firstDeletable; row <= lastRow(); ++row) {
        if (f.lst_code.selected(row)) {
            f.befehl_zeilen[static_cast<std::size_t>(row)].clear();
            ++deleted;
            deletedBeforeCurrent += row < f.befehl_nr ? 1 : 0;
        }
    }
    closeGaps();
    f.navigation.anzahl_setzen(f.befehl_anzahl - deleted);
    // A deleted current command hands over to the one behind it, or to the new last one.
    aktuellen_befehl_zeigen(std::min(f.befehl_nr - deletedBeforeCurrent, f.befehl_anzahl));
}

void ListEditing::aktuellen_befehl_zeigen(int nr) {
    MainForm& f = form_;
    f.befehl_nr = nr;
    f.hsc_befehle.setValue(nr);
    f.lbl_hscaktuell.setCaption(std::to_string(nr));
    f.records.befehlsliste();
    f.records.befehl_aktuellencode();
    f.panels.codesichtbar();
}

void ListEditing::mnuall_Click() {
    MainForm& f = form_;
    ChangeLock lock(f.aenderung_sperren);
    for (int row = 1; row <= lastRow(); ++row) {
        f.lst_code.setSelected(row, true);
    }
    f.lst_code.setSelected(0, false);
    f.befehl_nr = 1;
    f.lbl_hscaktuell.setCaption("1");
    f.hsc_befehle.setValue(1);
    f.com_code.setVisible(true);
    f.com_code0.setVisible(false);
    f.records.befehl_aktuellencode();
    f.panels.codesichtbar();
}

void ListEditing::lst_code_DblClick() {
    MainForm& f = form_;
    ChangeLock lock(f.aenderung_sperren);
    // A command tried during a recording would record itself.
    if (f.run.running() || f.interpreter.stepInProgress() || f.recording.active()) {
        return;
    }
    if (f.lst_code.listIndex() >= 0) {
        f.befehl_nr = f.lst_code.listIndex();
    }
    f.records.befehl_aktuellencode();
    if (f.befehl_code == pcCommandCode) {
        const std::string& word = f.befehl_wert1[static_cast<std::size_t>(f.befehl_nr)];
        if (word == "shutdown" || word == "reboot") {
            const MessageAnswer answer = f.platform.dialogs.messageBox(
                "Möchten Sie diesen Befehl wirklich ausführen?", f.frm_pontrel.caption(),
                MessageButtons::YesNo, MessageIcon::Question);
            if (answer != MessageAnswer::Yes) {
                return;
            }
        }
        if (word == "input-disable" || word == "input-enable") {
            return;
        }
        f.Timer_start.setInterval(pcCommandTryDelay);
    } else {
        f.Timer_start.setInterval(toInt(leadingNumber(f.txt_0_wait.text())));
    }
    if (f.befehl_code != pixelWatchCode) {
        f.Timer_start.setEnabled(true);
    }
}

}  // namespace pontrel
