#include "editor/Panels.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "editor/PanelCode.h"
#include "editor/RecordWords.h"
#include "editor/SpecialKeys.h"
#include "model/CommandNames.h"
#include "model/Numbers.h"
#include "window/ChangeLock.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr std::array<std::string_view, 11> questions{
    "Welche Grundeinstellungen?",
    "Welche Zufallszeit soll gewartet werden?",
    "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)",
    "Mit welcher Taste klicken?",
    "Welche Befehle und Buchstaben sollen ausgegeben werden?",
    "Welche Zahl soll hochgezählt werden? Wird kopiert in den Zwischenspeicher und in {CODE5}.",
    "Welches Programm soll gestartet werden? (Pfadziel des Programmes eingeben)",
    "Welchen PC Befehl ausführen?",
    "Welches CD-Laufwerk öffnen/schließen?",
    "Screenshot vom Bildschirm erzeugen und speichern? (Pfad angeben)",
    "An welcher X/Y Position soll auf Veränderung geprüft werden? (Enter = Aktuelle Pos.)",
};

// Drive roots beyond the 26 drive letters are never looked at.
constexpr int lastDriveEntry = 25;

// The member of an option group that a record word selects; an unknown word selects member 0.
template <std::size_t N>
int wordIndex(const std::array<std::string_view, N>& words, const std::string& word) {
    const auto found = std::find(words.begin(), words.end(), word);
    return found == words.end() ? 0 : static_cast<int>(found - words.begin());
}

std::string inCurrentDirectory(Environment& environment, const std::string& fileName) {
    return environment.currentDirectory() + environment.pathSeparator() + fileName;
}

void showGroup(OptionGroup& group, std::vector<Control*>& controls) {
    for (int i = 0; i < group.size(); ++i) {
        controls.push_back(&group[i]);
    }
}

}  // namespace

Panels::Panels(MainForm& form) : form_(form) {
    form_.com_code.Click.connect([this] { com_code_Click(); });
    form_.Timer_combobox.Tick.connect([this] { Timer_combobox_Timer(); });
}

std::vector<Control*> Panels::panelControls(int code) {
    MainForm& f = form_;
    std::vector<Control*> controls;
    switch (code) {
        case 0:
            return {&f.lbl_0_wait,        &f.txt_0_wait,        &f.lbl_0_ms,
                    &f.lbl_0_loop,        &f.txt_0_loop,        &f.lbl_0_mal,
                    &f.lbl_0_transparenz, &f.chk_0_transparenz, &f.lbl_0_vordergrund,
                    &f.chk_0_vordergrund, &f.lbl_0_listbox,     &f.chk_0_listbox,
                    &f.lbl_0_startcode,   &f.com_0_startcode,   &f.lbl_0_abbruchcode,
                    &f.com_0_abbruchcode};
        case 1:
            return {&f.lbl_1_random, &f.txt_1_random1, &f.txt_1_random2, &f.lbl_1_ms};
        case 2:
            return {&f.lbl_2_X, &f.txt_2_x,      &f.lbl_2_Y,
                    &f.txt_2_y, &f.lbl_2_Xpixel, &f.lbl_2_Ypixel};
        case 3:
            showGroup(f.opt_3_click, controls);
            return controls;
        case 4:
            return {&f.lbl_4_eingabebefehl, &f.com_4_eingabebefehl, &f.lbl_4_eingabetext,
                    &f.txt_4_eingabetext};
        case 5:
            return {&f.lbl_5_start, &f.txt_5_start, &f.lbl_5_hochzählen, &f.txt_5_hochzählen};
        case 6:
            return {&f.lbl_6_pfad, &f.txt_6_pfad, &f.cmd_6_pfad};
        case 7:
            showGroup(f.opt_7_pc, controls);
            return controls;
        case 8:
            return {&f.lbl_8_laufwerk, &f.com_8_laufwerk, &f.lbl_8_move, &f.com_8_move};
        case 9:
            return {&f.lbl_9_pfad, &f.txt_9_pfad, &f.cmd_9_pfad};
        default:
            return {&f.lbl_2_X,      &f.txt_10_x,     &f.lbl_2_Y,        &f.txt_10_y,
                    &f.lbl_2_Xpixel, &f.lbl_2_Ypixel, &f.lbl_10_abbruch, &f.txt_10_abbruch};
    }
}

void Panels::hideAllPanels() {
    for (int code = 0; code <= maxCommandCode; ++code) {
        for (Control* control : panelControls(code)) {
            control->setVisible(false);
        }
    }
}

void Panels::nur_grundeinstellungen_zeigen() {
    hideAllPanels();
    for (Control* control : panelControls(0)) {
        control->setVisible(true);
    }
}

void Panels::codesichtbar() {
    MainForm& f = form_;
    hideAllPanels();
    f.Timer_XYPos.setEnabled(false);
    f.Timer_combobox.setEnabled(true);

    const auto code = panelCode(f.befehl_code);
    if (!code) {
        return;
    }
    f.lbl_info.setCaption(std::string(questions.at(static_cast<std::size_t>(*code))));
    fillPanel(*code);
    for (Control* control : panelControls(*code)) {
        control->setVisible(true);
    }
    if (*code == 8) {
        f.records.befehlsliste();
    }
}

void Panels::fillPanel(int code) {
    MainForm& f = form_;
    const auto slot = static_cast<std::size_t>(std::clamp(f.befehl_nr, 0, FormState::lastSlot));
    const bool ofThisCode = leadingNumber(f.befehl_codetext[slot]) == code;
    const std::string& wert1 = f.befehl_wert1[slot];
    const std::string& wert2 = f.befehl_wert2[slot];
    const std::string& wert3 = f.befehl_wert3[slot];
    Environment& environment = f.platform.environment;

    switch (code) {
        case 1:
            f.txt_1_random1.setText(ofThisCode ? numberRuleText(wert1) : "0");
            f.txt_1_random2.setText(ofThisCode ? numberRuleText(f.records.zufallszeit_bis()) : "0");
            break;
        case 2:
            f.txt_2_x.setText(ofThisCode ? numberRuleText(wert1) : "0");
            f.txt_2_y.setText(ofThisCode ? numberRuleText(wert2) : "0");
            f.Timer_XYPos.setEnabled(true);
            break;
        case 3:
            f.opt_3_click.select(wordIndex(clickWords, wert1));
            break;
        case 4:
            f.txt_4_eingabetext.setText(ofThisCode ? wert1 : "");
            break;
        case 5:
            f.txt_5_start.setText(ofThisCode ? wert1 : "0");
            f.txt_5_hochzählen.setText(ofThisCode ? wert2 : "1");
            break;
        case 6:
            f.txt_6_pfad.setText(
                ofThisCode ? wert1
                           : inCurrentDirectory(environment, environment.programFileName()));
            break;
        case 7:
            f.opt_7_pc.select(wordIndex(pcWords, wert1));
            break;
        case 8:
            if (!f.keine_cd) {
                const int last = std::min(lastDriveEntry, f.com_8_laufwerk.listCount() - 1);
                for (int i = 0; i <= last; ++i) {
                    if (!f.com_8_laufwerk.item(i).empty() && f.com_8_laufwerk.item(i) == wert1) {
                        f.com_8_laufwerk.setListIndex(i);
                    }
                }
                f.com_8_move.setText(wert2 == "close" ? "Einziehen" : "Auswerfen");
            }
            break;
        case 9:
            f.txt_9_pfad.setText(ofThisCode ? wert1
                                            : inCurrentDirectory(environment, "Screenshot.bmp"));
            break;
        case 10:
            f.txt_10_x.setText(ofThisCode ? numberRuleText(wert1) : "0");
            f.txt_10_y.setText(ofThisCode ? numberRuleText(wert2) : "0");
            f.txt_10_abbruch.setText(ofThisCode ? numberRuleText(wert3) : "0");
            f.Timer_XYPos.setEnabled(true);
            break;
        default:
            break;  // panel 0 shows the basic settings themselves
    }
}

void Panels::codebox_auswahlclick() {
    MainForm& f = form_;
    const int last = std::min(f.befehl_anzahl, f.anzeige_grenze);
    int selectedRows = 0;
    for (int row = 0; row <= last; ++row) {
        selectedRows += f.lst_code.selected(row) ? 1 : 0;
    }
    if (selectedRows >= 2) {
        return;  // a multiple selection keeps the current command
    }
    f.settings.grundeinstellungen_normalisieren();
    f.auswahl_klick = true;
    f.befehl_nr = std::max(0, f.lst_code.listIndex());
    f.hsc_befehle.setValue(f.befehl_nr);
    f.lbl_hscaktuell.setCaption(std::to_string(f.befehl_nr));
    waehler_zeigen();
    f.records.befehl_aktuellencode();
}

void Panels::waehler_zeigen() {
    MainForm& f = form_;
    const bool basicSettings = f.befehl_nr == 0;
    f.com_code0.setVisible(basicSettings);
    f.com_code.setVisible(!basicSettings);
    f.befehl_code = basicSettings ? 0 : 1;
}

void Panels::com_code_Click() {
    MainForm& f = form_;
    if (f.aenderung_sperren) {
        return;  // the program is setting the chooser itself
    }
    const ChangeLock lock(f.aenderung_sperren);
    if (!f.run.running()) {
        f.befehl_code = f.befehl_nr == 0 ? 0 : f.com_code.listIndex() + 1;
        f.composer.schreibebefehl();
        f.records.befehl_aktuellencode();
        codesichtbar();
    }
}

void Panels::Timer_combobox_Timer() {
    MainForm& f = form_;
    const ChangeLock lock(f.aenderung_sperren);
    if (const auto code = panelCode(f.befehl_code); code && *code >= 1) {
        f.com_code.setText(std::string(commandNames.at(static_cast<std::size_t>(*code - 1))));
        if (*code == 4) {
            f.com_4_eingabebefehl.setText(std::string(specialKeys[0].caption));
        }
    }
    f.auswahl_klick = false;
    f.Timer_combobox.setEnabled(false);
}

}  // namespace pontrel
