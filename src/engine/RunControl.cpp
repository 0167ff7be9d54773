#include "engine/RunControl.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr std::uint16_t freshPress = keyDownNow | keyPressedSinceLastQuery;
constexpr double shortestBaseWait = 10;
constexpr double longestBaseWait = 60000;

bool freshlyPressed(MainForm& f, const std::string& keyCode) {
    return f.platform.input.asyncKeyState(toInt(leadingNumber(keyCode))) == freshPress;
}

}  // namespace

RunControl::RunControl(MainForm& form) : form_(form) {
    form_.cmd_start.Click.connect([this] { cmd_start_Click(); });
    form_.Timer_befehlstart.Tick.connect([this] { Timer_befehlstart_Timer(); });
    form_.Timer_befehlstop.Tick.connect([this] { Timer_befehlstop_Timer(); });
    form_.Timer_startloop.Tick.connect([this] { Timer_startloop_Timer(); });
}

bool RunControl::running() const {
    return form_.Timer_startloop.enabled();
}

void RunControl::cmd_start_Click() {
    MainForm& f = form_;
    // During a recording the button ends it; playback would record itself.
    if (f.recording.active()) {
        f.recording.aufnahme_beenden();
        return;
    }
    f.aenderung_sperren = true;
    if (f.cmd_start.caption() == "Start") {
        startRun();
    } else {
        f.platform.input.cancelQueuedInput();
        start_stop();
    }
    f.aenderung_sperren = false;
}

void RunControl::startRun() {
    MainForm& f = form_;

    const double boxWait = leadingNumber(f.txt_0_wait.text());
    if (boxWait > longestBaseWait) {
        f.txt_0_wait.setText(numberText(longestBaseWait));
    } else if (boxWait < shortestBaseWait) {
        f.txt_0_wait.setText(numberText(shortestBaseWait));
    }
    if (leadingNumber(f.txt_0_loop.text()) < 0) {
        f.txt_0_loop.setText("0");
    }

    f.zaehler_neu = true;
    f.zaehler_wert = 0;
    f.zaehler_naechster = 0;
    f.pixel_status = 0;

    for (int i = 0; i <= f.befehl_anzahl; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        f.befehl_nr = i;
        f.records.befehl_aktuellencode();
        if (i == 0) {
            const double wait = leadingNumber(f.befehl_wert1[0]);
            const double clamped = std::clamp(wait, 0.0, longestBaseWait);
            if (clamped != wait) {
                f.befehl_wert1[0] = numberText(clamped);
            }
            f.grund_wartezeit = clamped;
            f.wiederholungen = leadingNumber(f.befehl_wert2[0]);
        }
        if (f.befehl_zeilen[slot].empty()) {
            f.befehl_zeilen[slot] = std::string(defaultRecord);
            f.befehl_wert1[slot] = "0";
        }
    }
    f.befehl_nr = 0;
    f.durchlauf = 0;
    f.records.befehlsliste();

    f.cmd_start.setCaption(f.abbruch_tastenname + "=Stop");
    setEditing(false);

    f.grund_wartezeit = std::max(f.grund_wartezeit, shortestBaseWait);
    f.Timer_start.setInterval(toInt(f.grund_wartezeit));

    f.Timer_befehlstart.setEnabled(false);
    f.Timer_befehlstop.setEnabled(true);
    f.Timer_startloop.setEnabled(true);
}

void RunControl::start_stop() {
    MainForm& f = form_;
    f.Timer_start.setEnabled(false);
    f.Timer_startloop.setEnabled(false);
    f.cmd_start.setCaption("Start");

    f.hsc_befehle.setValue(0);
    f.lbl_hscaktuell.setCaption("0");
    setEditing(true);

    f.befehl_nr = 0;
    f.befehl_code = 0;
    f.panels.codesichtbar();
    f.records.befehlsliste();

    f.Timer_befehlstop.setEnabled(false);
    f.Timer_befehlstart.setEnabled(true);
}

void RunControl::setEditing(bool enabled) {
    MainForm& f = form_;
    for (Control* control : std::initializer_list<Control*>{&f.cmd_neu,
                                                            &f.cmd_load2,
                                                            &f.img_befehl_left,
                                                            &f.img_befehl_right,
                                                            &f.txt_befehle,
                                                            &f.txt_0_wait,
                                                            &f.txt_0_loop,
                                                            &f.com_0_startcode,
                                                            &f.com_0_abbruchcode,
                                                            &f.chk_0_transparenz,
                                                            &f.chk_0_vordergrund,
                                                            &f.chk_0_listbox,
                                                            &f.txt_1_random1,
                                                            &f.txt_1_random2,
                                                            &f.txt_2_x,
                                                            &f.txt_2_y,
                                                            &f.com_4_eingabebefehl,
                                                            &f.txt_4_eingabetext,
                                                            &f.txt_5_start,
                                                            &f.txt_5_hochzählen,
                                                            &f.txt_6_pfad,
                                                            &f.cmd_6_pfad,
                                                            &f.txt_9_pfad,
                                                            &f.cmd_9_pfad,
                                                            &f.txt_10_x,
                                                            &f.txt_10_y,
                                                            &f.txt_10_abbruch,
                                                            &f.hsc_befehle,
                                                            &f.lst_code,
                                                            &f.cmd_save,
                                                            &f.cmd_save2,
                                                            &f.com_code}) {
        control->setEnabled(enabled);
    }
    for (int i = 0; i < f.opt_3_click.size(); ++i) {
        f.opt_3_click[i].setEnabled(enabled);
    }
    for (int i = 0; i < f.opt_7_pc.size(); ++i) {
        f.opt_7_pc[i].setEnabled(enabled);
    }
    // Without a CD drive its controls stay disabled throughout.
    if (!f.keine_cd) {
        f.com_8_laufwerk.setEnabled(enabled);
        f.com_8_move.setEnabled(enabled);
    }
    f.cmd_load.setEnabled(enabled && f.platform.files.exists(f.dateipfad));
    f.com_code.setVisible(!enabled);
    f.com_code0.setVisible(enabled);
}

void RunControl::Timer_befehlstart_Timer() {
    // Inside a step's message box a new run would start in the middle of the old step; during a
    // recording the start key is what the user records.
    if (form_.interpreter.stepInProgress() || form_.recording.active()) {
        return;
    }
    if (freshlyPressed(form_, form_.start_taste)) {
        form_.cmd_start.click();
    }
}

void RunControl::Timer_befehlstop_Timer() {
    if (freshlyPressed(form_, form_.abbruch_taste)) {
        form_.platform.input.cancelQueuedInput();
        start_stop();
    }
}

void RunControl::Timer_startloop_Timer() {
    MainForm& f = form_;
    if (f.pixel_status != 0) {
        f.Timer_start.setEnabled(true);
        return;
    }
    if (f.Timer_start.enabled()) {
        return;
    }
    ++f.befehl_nr;
    if (f.befehl_nr <= f.befehl_anzahl) {
        f.Timer_start.setEnabled(true);
        return;
    }
    f.durchlauf += 1;
    if (f.durchlauf > f.wiederholungen) {
        (void)f.platform.input.blockInput(false);
        f.platform.input.drainQueuedInput();
        start_stop();
    } else if (f.befehl_anzahl >= 1) {
        f.befehl_nr = 1;
        f.Timer_start.setEnabled(true);
    } else {
        f.befehl_nr = 0;  // nothing to play: the next tick ends the next pass
    }
}

}  // namespace pontrel
