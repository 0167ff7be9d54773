#include "window/BasicSettings.h"

#include <string>

#include "engine/HotKeyTable.h"
#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr double longestWait = 60000;

}  // namespace

BasicSettings::BasicSettings(MainForm& form) : form_(form) {
    form_.txt_0_wait.Change.connect([this] { txt_0_wait_Change(); });
    form_.txt_0_loop.Change.connect([this] { txt_0_loop_Change(); });
    form_.txt_0_wait.LostFocus.connect([this] { txt_0_wait_LostFocus(); });
    form_.txt_0_loop.LostFocus.connect([this] { txt_0_loop_LostFocus(); });
    form_.com_0_startcode.Click.connect([this] { com_0_startcode_Click(); });
    form_.com_0_abbruchcode.Click.connect([this] { com_0_abbruchcode_Click(); });
}

void BasicSettings::grundeinstellungen_normalisieren() {
    MainForm& f = form_;
    if (leadingNumber(f.txt_0_wait.text()) < shortestBaseWait) {
        f.txt_0_wait.setText("10");
    }
    if (leadingNumber(f.txt_0_loop.text()) < 1) {
        f.txt_0_loop.setText("0");
    }
}

bool BasicSettings::silenced() const {
    return form_.aenderung_sperren || form_.run.running();
}

void BasicSettings::grundeinstellungen_schreiben() {
    form_.befehl_code = 0;
    form_.composer.schreibebefehl();
}

void BasicSettings::txt_0_wait_Change() {
    if (silenced()) {
        return;
    }
    const double wait = leadingNumber(form_.txt_0_wait.text());
    if (wait > longestWait) {
        form_.txt_0_wait.setText("60000");
    } else if (wait < 0) {
        form_.txt_0_wait.setText("0");
    }
    grundeinstellungen_schreiben();
    form_.records.befehl_aktuellencode();
}

void BasicSettings::txt_0_loop_Change() {
    if (silenced()) {
        return;
    }
    grundeinstellungen_schreiben();
    form_.records.befehl_aktuellencode();
}

void BasicSettings::txt_0_wait_LostFocus() {
    // Only a focus change while the window fills its controls itself corrects the field.
    if (form_.aenderung_sperren && form_.befehl_nr == 0 &&
        leadingNumber(form_.txt_0_wait.text()) < shortestBaseWait) {
        form_.txt_0_wait.setText("10");
    }
}

void BasicSettings::txt_0_loop_LostFocus() {
    if (!form_.aenderung_sperren && form_.befehl_nr == 0 &&
        leadingNumber(form_.txt_0_loop.text()) < 1) {
        form_.txt_0_loop.setText("0");
    }
}

void BasicSettings::com_0_startcode_Click() {
    hotKeyChosen(form_.com_0_startcode, startHotKeys, form_.start_taste, form_.start_tastenname);
}

void BasicSettings::com_0_abbruchcode_Click() {
    hotKeyChosen(form_.com_0_abbruchcode, abortHotKeys, form_.abbruch_taste,
                 form_.abbruch_tastenname);
}

void BasicSettings::hotKeyChosen(const ComboBox& chooser, std::span<const HotKey> table,
                                 std::string& code, std::string& name) {
    const int index = chooser.listIndex();
    if (form_.run.running() || index < 0 || index >= static_cast<int>(table.size())) {
        return;
    }
    form_.befehl_code = 0;
    code = std::string(table[static_cast<std::size_t>(index)].code);
    name = chooser.text();
    form_.composer.schreibebefehl();
}

}  // namespace pontrel
