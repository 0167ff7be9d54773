#include "window/Navigation.h"

#include <algorithm>
#include <string>

#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/MainForm.h"

namespace pontrel {

Navigation::Navigation(MainForm& form) : form_(form) {
    form_.img_befehl_left.Click.connect([this] { img_befehl_left_Click(); });
    form_.img_befehl_right.Click.connect([this] { img_befehl_right_Click(); });
    form_.txt_befehle.Change.connect([this] { txt_befehle_Change(); });
    form_.txt_befehle.LostFocus.connect([this] { txt_befehle_LostFocus(); });
    form_.hsc_befehle.Change.connect([this] { hsc_befehle_Change(); });
}

void Navigation::anzahl_setzen(int anzahl) {
    const std::string text = std::to_string(anzahl);
    form_.txt_befehle.setText(text);
    form_.hsc_befehle.setMax(anzahl);
    form_.lbl_hscmax.setCaption(text);
    form_.befehl_anzahl = anzahl;
}

int Navigation::arrowBase() const {
    const double value = leadingNumber(form_.txt_befehle.text());
    return value >= 1 ? toInt(value) : form_.befehl_anzahl;
}

void Navigation::img_befehl_left_Click() {
    MainForm& f = form_;
    const int count = arrowBase();
    if (count <= 1) {
        return;
    }
    f.aenderung_sperren = true;
    anzahl_setzen(count - 1);
    if (f.befehl_nr > f.befehl_anzahl) {
        f.befehl_nr = f.befehl_anzahl;
        f.lbl_hscaktuell.setCaption(std::to_string(f.befehl_nr));
        // Read the new current command first, so its own panel is shown and later edits keep
        // its code.
        f.records.befehl_aktuellencode();
        f.panels.codesichtbar();
    }
    f.records.befehlsliste();
    f.aenderung_sperren = false;
}

void Navigation::img_befehl_right_Click() {
    MainForm& f = form_;
    const int count = arrowBase();
    if (count >= f.befehl_maximum) {
        return;
    }
    f.aenderung_sperren = true;
    anzahl_setzen(count + 1);
    f.befehl_zeilen[static_cast<std::size_t>(f.befehl_anzahl)] = std::string(defaultRecord);
    f.records.befehlsliste();
    f.aenderung_sperren = false;
}

void Navigation::txt_befehle_Change() {
    MainForm& f = form_;
    if (f.aenderung_sperren || f.run.running()) {
        return;
    }
    const double value = leadingNumber(f.txt_befehle.text());
    if (value > f.befehl_maximum) {
        f.txt_befehle.setText(std::to_string(f.befehl_maximum));  // runs this handler again
        return;
    }
    if (value < 1) {
        return;  // an emptied box changes nothing until it is left
    }
    const int count = toInt(value);
    f.hsc_befehle.setMax(count);
    f.lbl_hscmax.setCaption(numberText(value));
    f.befehl_anzahl = count;
    for (int slot = 0; slot <= count; ++slot) {
        std::string& record = f.befehl_zeilen[static_cast<std::size_t>(slot)];
        if (record.empty()) {
            record = std::string(defaultRecord);
        }
    }
    f.records.befehlsliste();
}

void Navigation::txt_befehle_LostFocus() {
    if (!form_.aenderung_sperren && leadingNumber(form_.txt_befehle.text()) < 1) {
        form_.txt_befehle.setText("1");
    }
}

void Navigation::hsc_befehle_Change() {
    MainForm& f = form_;
    if (f.aenderung_sperren || f.run.running()) {
        return;
    }
    f.aenderung_sperren = true;
    f.settings.grundeinstellungen_normalisieren();
    f.befehl_nr = f.hsc_befehle.value();
    f.lbl_hscaktuell.setCaption(std::to_string(f.befehl_nr));
    f.panels.waehler_zeigen();
    f.records.befehl_aktuellencode();
    f.panels.codesichtbar();
    f.records.befehlsliste();
    f.aenderung_sperren = false;
}

}  // namespace pontrel
