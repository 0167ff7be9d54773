#include "engine/RunControl.h"

#include <algorithm>
#include <string>

#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/ChangeLock.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr std::uint16_t freshPress = keyDownNow | keyPressedSinceLastQuery;

bool freshlyPressed(MainForm& f, const std::string& keyCode) {
    return f.platform.input.asyncKeyState(toInt(leadingNumber(keyCode))) == freshPress;
}

}  // namespace

RunControl::RunControl(MainForm& form) : form_(form) {
    form_.cmd_start.Click.connect([this] { cmd_start_Click(); });
    form_.Timer_befehlstart.Tick.connect([this] { Timer_befehlstart_Timer(); });
    form_.Timer_befehlstop.Tick.connect([this] { Timer_befehlstop_Timer(); });
    form_.Timer_startloop.Tick.connect([this] { Timer_startloop_Timer(); });
    keyChangesWatched_ = form_.platform.input.watchKeyChanges(
        [&scheduler = form_.platform.scheduler, self = std::weak_ptr(self_)] {
            scheduler.post([self] {
                if (const auto alive = self.lock()) {
                    (*alive)->form_.Timer_befehlstart.wake();
                }
            });
        });
}

RunControl::~RunControl() {
    form_.platform.input.watchKeyChanges({});
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
    const ChangeLock lock(f.aenderung_sperren);
    if (f.cmd_start.caption() == "Start") {
        startRun();
    } else {
        f.platform.input.cancelQueuedInput();
        start_stop();
    }
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
    for (Control* control : f.lockedWhileRunning()) {
        control->setEnabled(enabled);
    }
    // Given back only where they work: the CD controls need a drive, Laden its file, the window
    // effects a desktop that has them.
    if (f.keine_cd) {
        f.com_8_laufwerk.setEnabled(false);
        f.com_8_move.setEnabled(false);
    }
    if (f.keine_fenstereffekte) {
        f.chk_0_transparenz.setEnabled(false);
        f.chk_0_vordergrund.setEnabled(false);
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
    } else if (keyChangesWatched_) {
        // Until a key changes, every further poll would read the same: sleep till one does.
        form_.Timer_befehlstart.sleep();
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
        f.logIgnoredFailure("Maus/Tastatur entsperren", f.platform.input.blockInput(false));
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
