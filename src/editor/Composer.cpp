#include "editor/Composer.h"

#include <array>
#include <string_view>

#include "editor/FreeText.h"
#include "editor/PanelCode.h"
#include "editor/RecordWords.h"
#include "model/Numbers.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr double maxRandomWait = 60000;

std::string field(std::string_view key, const std::string& value) {
    return std::string(key) + ":|" + value + "|";
}

std::string number(const TextBox& box) {
    return numberRuleText(box.text());
}

double value(const TextBox& box) {
    return leadingNumber(box.text());
}

}  // namespace

Composer::Composer(MainForm& form) : form_(form) {
    MainForm& f = form_;
    f.txt_1_random1.Change.connect([this] { txt_1_random1_Change(); });
    f.txt_1_random2.Change.connect([this] { txt_1_random2_Change(); });
    f.txt_2_x.Change.connect([this] { txt_2_x_Change(); });
    f.txt_2_y.Change.connect([this] { txt_2_y_Change(); });
    f.opt_3_click.Click.connect([this](int index) { opt_3_click_Click(index); });
    f.txt_4_eingabetext.Change.connect([this] { txt_4_eingabetext_Change(); });
    f.txt_5_start.Change.connect([this] { txt_5_start_Change(); });
    f.txt_5_hochzählen.Change.connect([this] { txt_5_hochzählen_Change(); });
    f.txt_6_pfad.Change.connect([this] { txt_6_pfad_Change(); });
    f.opt_7_pc.Click.connect([this](int index) { opt_7_pc_Click(index); });
    f.com_8_laufwerk.Click.connect([this] { com_8_laufwerk_Click(); });
    f.com_8_move.Click.connect([this] { com_8_move_Click(); });
    f.txt_9_pfad.Change.connect([this] { txt_9_pfad_Change(); });
    f.txt_10_x.Change.connect([this] { txt_10_x_Change(); });
    f.txt_10_y.Change.connect([this] { txt_10_y_Change(); });
    f.txt_10_abbruch.Change.connect([this] { txt_10_abbruch_Change(); });
}

void Composer::schreibebefehl() {
    MainForm& f = form_;
    if (f.run.running()) {
        return;
    }
    if (const auto code = panelCode(f.befehl_code)) {
        const int slot = *code == 0 ? 0 : f.befehl_nr;
        if (slot >= 0 && slot <= FormState::lastSlot) {
            f.befehl_zeilen[static_cast<std::size_t>(slot)] = befehl(*code);
        }
    }
    f.records.befehlsliste();
}

std::string Composer::befehl(int code) {
    MainForm& f = form_;
    std::string record =
        "code:|" + std::string(code < 10 ? "00" : "0") + std::to_string(code) + "|";
    switch (code) {
        case 0:
            return record + field("wait", number(f.txt_0_wait)) +
                   field("loop", number(f.txt_0_loop)) + field("start", f.start_tastenname) +
                   field("stop", f.abbruch_tastenname);
        case 1:
            record += field("wait", number(f.txt_1_random1));
            if (value(f.txt_1_random2) != value(f.txt_1_random1)) {
                record += field("maxwait", number(f.txt_1_random2));
            }
            return record;
        case 2:
            return record + field("xpos", number(f.txt_2_x)) + field("ypos", number(f.txt_2_y));
        case 3:
            if (const int selected = f.opt_3_click.selectedIndex(); selected >= 0) {
                f.klick_art = std::string(clickWords.at(static_cast<std::size_t>(selected)));
            }
            return record + field("mouseclick", f.klick_art);
        case 4:
            // Free text is cleaned here too: the box may hold text typed while a macro ran.
            return record + field("text", cleanFreeText(f.txt_4_eingabetext.text()));
        case 5:
            return record + field("start", number(f.txt_5_start)) +
                   field("step", number(f.txt_5_hochzählen));
        case 6:
            return record + field("pfad", cleanFreeText(f.txt_6_pfad.text()));
        case 7:
            if (const int selected = f.opt_7_pc.selectedIndex(); selected >= 0) {
                f.pc_befehl = std::string(pcWords.at(static_cast<std::size_t>(selected)));
            }
            return record + field("pc", f.pc_befehl);
        case 8:
            // Without a CD drive nothing is selected and the drive is written empty.
            return record + field("drive", f.com_8_laufwerk.text()) +
                   field("move", f.com_8_move.listIndex() == 1 ? "close" : "open");
        case 9:
            return record + field("pfad", cleanFreeText(f.txt_9_pfad.text()));
        default:
            return record + field("xpos", number(f.txt_10_x)) + field("ypos", number(f.txt_10_y)) +
                   field("break", number(f.txt_10_abbruch));
    }
}

bool Composer::editable() const {
    return !form_.aenderung_sperren && !form_.run.running();
}

void Composer::writeRecord(int code) {
    form_.befehl_code = code;
    schreibebefehl();
    form_.records.befehl_aktuellencode();
}

void Composer::fieldChanged(int code) {
    if (editable()) {
        writeRecord(code);
    }
}

void Composer::freeTextChanged(TextBox& box, int code) {
    if (!editable()) {
        return;
    }
    if (!box.text().empty()) {
        box.setText(cleanFreeText(box.text()));  // runs this handler again for the cleaned text
    }
    writeRecord(code);
}

void Composer::randomBoundChanged(TextBox& box) {
    if (!editable()) {
        return;
    }
    if (value(box) > maxRandomWait) {
        box.setText(numberText(maxRandomWait));
    } else if (value(box) < 0) {
        box.setText("0");
    }
    writeRecord(1);
}

void Composer::keepRandomBoundsInOrder(TextBox& changed, TextBox& follower) {
    MainForm& f = form_;
    // Also while a macro runs: then only the boxes change.
    if (f.aenderung_sperren || value(f.txt_1_random2) >= value(f.txt_1_random1)) {
        return;
    }
    follower.setText(number(changed));
    if (!f.run.running()) {
        writeRecord(1);
    }
}

void Composer::txt_1_random1_Change() {
    randomBoundChanged(form_.txt_1_random1);
    keepRandomBoundsInOrder(form_.txt_1_random1, form_.txt_1_random2);
}

void Composer::txt_1_random2_Change() {
    randomBoundChanged(form_.txt_1_random2);
    keepRandomBoundsInOrder(form_.txt_1_random2, form_.txt_1_random1);
}

void Composer::txt_2_x_Change() {
    fieldChanged(2);
}

void Composer::txt_2_y_Change() {
    fieldChanged(2);
}

void Composer::opt_3_click_Click(int) {
    fieldChanged(3);
}

void Composer::txt_4_eingabetext_Change() {
    freeTextChanged(form_.txt_4_eingabetext, 4);
}

void Composer::txt_5_start_Change() {
    fieldChanged(5);
}

void Composer::txt_5_hochzählen_Change() {
    fieldChanged(5);
}

void Composer::txt_6_pfad_Change() {
    freeTextChanged(form_.txt_6_pfad, 6);
}

void Composer::opt_7_pc_Click(int) {
    fieldChanged(7);
}

// A list click is still being taken over while auswahl_klick is set: showing panel 8 must not
// write the drive back.
void Composer::com_8_laufwerk_Click() {
    if (!form_.auswahl_klick) {
        fieldChanged(8);
    }
}

void Composer::com_8_move_Click() {
    if (!form_.auswahl_klick) {
        fieldChanged(8);
    }
}

void Composer::txt_9_pfad_Change() {
    freeTextChanged(form_.txt_9_pfad, 9);
}

void Composer::txt_10_x_Change() {
    fieldChanged(10);
}

void Composer::txt_10_y_Change() {
    fieldChanged(10);
}

void Composer::txt_10_abbruch_Change() {
    if (!editable()) {
        return;
    }
    if (value(form_.txt_10_abbruch) < 0) {
        form_.txt_10_abbruch.setText("0");
    }
    writeRecord(10);
}

}  // namespace pontrel
