#include "window/FormControls.h"

#include <algorithm>
#include <string>

#include "editor/SpecialKeys.h"
#include "engine/HotKeyTable.h"
#include "model/CommandNames.h"
#include "window/FormDesign.h"

namespace pontrel {

namespace {

constexpr int timerPeriod = 10;
constexpr int stepTimerDesignInterval = 500;

template <typename Table>
std::vector<std::string> hotKeyNames(const Table& table) {
    std::vector<std::string> names;
    for (const auto& key : table) {
        names.emplace_back(key.name);
    }
    return names;
}

}  // namespace

FormControls::FormControls(Scheduler& scheduler)
    : Timer_befehlstart("Timer_befehlstart", scheduler, timerPeriod, true),
      Timer_befehlstop("Timer_befehlstop", scheduler, timerPeriod, false),
      Timer_startloop("Timer_startloop", scheduler, timerPeriod, false),
      Timer_start("Timer_start", scheduler, stepTimerDesignInterval, false),
      Timer_combobox("Timer_combobox", scheduler, timerPeriod, false),
      Timer_XYPos("Timer_XYPos", scheduler, timerPeriod, false),
      Timer_transparenz("Timer_transparenz", scheduler, timerPeriod, false) {
    applyCaptions();
    applyLists();
    applyDesign();
}

void FormControls::applyCaptions() {
    frm_pontrel.setCaption("Pontrel");
    frm_pontrel.setClientSize(designClientWidth, designClientHeight);
    frm_pontrel.setFrameHeight(designOuterHeight - designClientHeight);
    frm_pontrel.setIcon("pontrel");

    lbl_title.setCaption("Pontrel");
    lbl_titleversion.setCaption("v1.2.2");
    img_title.setPicture("title");
    img_brantsoftlogo.setPicture("small-logo");
    lbl_about_name.setCaption("Pontrel");
    lbl_about_version.setCaption("v.1.2.2");
    lbl_about_date.setCaption("12.07.2014");
    lbl_about_web.setCaption("Pontrel im Netz");
    lbl_about_credit.setCaption("Ein freies Makroprogramm");

    lbl_anz_befehle.setCaption("Anzahl Befehle:");
    img_befehl_left.setPicture("arrow-left");
    img_befehl_right.setPicture("arrow-right");
    txt_befehle.setText("3");
    txt_befehle.setMaxLength(5);
    lbl_befehl.setCaption("Wähle Befehl:");
    hsc_befehle.setMax(3);
    lbl_hscaktuell.setCaption("0");
    lbl_hscmax.setCaption("3");
    lbl_info.setCaption("Welche Grundeinstellungen?");

    lbl_0_wait.setCaption("Wartezeit nach jedem Befehl:");
    lbl_0_ms.setCaption("ms");
    lbl_0_loop.setCaption("Wiederholen nach letztem Befehl:");
    lbl_0_mal.setCaption("mal");
    txt_0_wait.setText("500");
    txt_0_wait.setMaxLength(10);
    txt_0_loop.setText("1");
    txt_0_loop.setMaxLength(10);
    lbl_0_transparenz.setCaption("Transparenz einschalten:");
    lbl_0_vordergrund.setCaption("Im Vordergrund anzeigen:");
    lbl_0_listbox.setCaption("Code in Box anzeigen:");
    chk_0_listbox.setValue(1);
    lbl_0_startcode.setCaption("Funktion: Starten");
    lbl_0_abbruchcode.setCaption("Funktion: Abbruch");

    lbl_1_random.setCaption("Zufallszeit (von - bis)");
    lbl_1_ms.setCaption("ms");
    txt_1_random1.setText("0");
    txt_1_random2.setText("0");

    lbl_2_X.setCaption("X-Position:");
    lbl_2_Y.setCaption("Y-Position:");
    lbl_2_Xpixel.setCaption("0");
    lbl_2_Ypixel.setCaption("0");
    txt_2_x.setText("0");
    txt_2_y.setText("0");

    lbl_4_eingabebefehl.setCaption("Spezial Eingaben:");
    lbl_4_eingabetext.setCaption("Tastatur Eingaben (a-Z, 0-9):");

    lbl_5_start.setCaption("Beginn hochzählen:");
    lbl_5_hochzählen.setCaption("+ Zahl die hochgezählt wird:");
    txt_5_start.setText("0");
    txt_5_hochzählen.setText("1");

    lbl_6_pfad.setCaption("Programmpfad eingeben:");
    cmd_6_pfad.setCaption("Programmpfad suchen");

    lbl_8_laufwerk.setCaption("Wähle ein CD-Laufwerksbuchstaben:");
    lbl_8_move.setCaption("Laufwerk öffnen oder schließen?");

    lbl_9_pfad.setCaption("Speichername eingeben:");
    cmd_9_pfad.setCaption("Speicherort suchen");

    lbl_10_abbruch.setCaption("Abbruchbedingung nach:" + std::string(38, ' ') + "sek. (0 = nie)");
    txt_10_x.setText("0");
    txt_10_y.setText("0");
    txt_10_abbruch.setText("0");

    cmd_start.setCaption("Start");
    cmd_save.setCaption("Speichern");
    cmd_save2.setCaption(">");
    cmd_neu.setCaption("Neu");
    cmd_load.setCaption("Laden");
    cmd_load.setEnabled(false);
    cmd_load2.setCaption(">");
    img_box.setPicture("box");
    img_versionspontrel_0.setPicture("scheme-1");
    img_versionspontrel_1.setPicture("scheme-2");
    img_versionspontrel_2.setPicture("scheme-3");
    for (Image* picture :
         {&img_versionspontrel_0, &img_versionspontrel_1, &img_versionspontrel_2}) {
        picture->setVisible(false);
    }
    pic_screenshot.setVisible(false);
    pic_pixel.setVisible(false);
}

void FormControls::applyLists() {
    std::vector<std::string> commands;
    for (const auto name : commandNames) {
        commands.emplace_back(name);
    }
    com_code.setItems(commands);
    com_code.setVisible(false);
    com_code0.setItems({std::string(basicSettingsName)});
    com_0_startcode.setItems(hotKeyNames(startHotKeys));
    com_0_abbruchcode.setItems(hotKeyNames(abortHotKeys));

    std::vector<std::string> keys;
    for (const auto& key : specialKeys) {
        keys.emplace_back(key.caption);
    }
    com_4_eingabebefehl.setItems(keys);
    com_8_move.setItems({"Auswerfen", "Einziehen"});
}

void FormControls::applyDesign() {
    for (const ControlDesign& row : formDesign()) {
        Control* control = placedControl(row.name);
        if (control == nullptr) {
            continue;
        }
        control->setGeometry(row.twips);
        if (auto* label = dynamic_cast<Label*>(control)) {
            label->setStyle(row.labelStyle);
        }
        placements_.push_back({control, &row});
    }
}

Control* FormControls::placedControl(std::string_view name) const {
    const std::vector<Control*>& placed = frm_pontrel.controls();
    const auto found = std::find_if(placed.begin(), placed.end(), [name](const Control* control) {
        return control->name() == name;
    });
    return found == placed.end() ? nullptr : *found;
}

std::vector<Control*> FormControls::allControls() {
    return controlsWhere([](const ControlDesign&) { return true; });
}

std::vector<Control*> FormControls::panelControls(int code) {
    return controlsWhere(
        [code](const ControlDesign& row) { return (row.panels & panel(code)) != 0; });
}

std::vector<Control*> FormControls::lockedWhileRunning() {
    return controlsWhere([](const ControlDesign& row) { return row.lockedWhileRunning; });
}

std::vector<Control*> FormControls::controlsWhere(
    const std::function<bool(const ControlDesign&)>& wanted) const {
    std::vector<Control*> controls;
    for (const Placement& placement : placements_) {
        if (wanted(*placement.design)) {
            controls.push_back(placement.control);
        }
    }
    return controls;
}

}  // namespace pontrel
