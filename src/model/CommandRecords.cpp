#include "model/CommandRecords.h"

#include <algorithm>

#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/MainForm.h"

namespace pontrel {

CommandRecords::CommandRecords(MainForm& form) : form_(form) {}

void CommandRecords::befehl_aktuellencode() {
    MainForm& f = form_;
    const int nr = f.befehl_nr;
    if (nr < 0 || nr > FormState::lastSlot) {
        return;
    }
    const auto slot = static_cast<std::size_t>(nr);
    const std::string& record = f.befehl_zeilen[slot];
    if (record.empty()) {
        return;
    }
    const RecordFields fields = splitRecord(record);
    if (fields.codeText) {
        f.befehl_codetext[slot] = *fields.codeText;
    }
    std::vector<std::string>* values[] = {&f.befehl_wert1, &f.befehl_wert2, &f.befehl_wert3,
                                          &f.befehl_wert4};
    for (int number = 1; number <= 4; ++number) {
        if (const auto& value = fields.value(number)) {
            (*values[number - 1])[slot] = *value;
        }
    }
    f.befehl_code = leadingNumber(f.befehl_codetext[slot]);
    if (f.befehl_code > maxCommandCode) {
        f.befehl_zeilen[slot] = std::string(defaultRecord);
    }
}

std::string& CommandRecords::zufallszeit_bis() {
    const auto slot = static_cast<std::size_t>(form_.befehl_nr);
    const bool hasUpper = splitRecord(form_.befehl_zeilen[slot]).value2.has_value();
    return hasUpper ? form_.befehl_wert2[slot] : form_.befehl_wert1[slot];
}

void CommandRecords::befehlsliste() {
    MainForm& f = form_;
    const int last = std::min(f.befehl_anzahl, f.anzeige_grenze);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::max(0, last + 1)));
    for (int i = 0; i <= last; ++i) {
        lines.push_back(listLine(i, f.befehl_zeilen[static_cast<std::size_t>(i)]));
    }
    f.lst_code.setItems(std::move(lines));
    if (f.befehl_nr >= 0 && f.befehl_nr <= last) {
        f.lst_code.setSelected(f.befehl_nr, true);
    }
}

}  // namespace pontrel
