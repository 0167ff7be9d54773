#include "window/Recording.h"

#include <algorithm>
#include <string>

#include "editor/RecordedCommands.h"
#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr int countdownSeconds = 3;
constexpr int secondMs = 1000;
// How often what the recorder saw is collected; also how soon the stop key takes effect.
constexpr int collectMs = 20;

bool inside(const Rect& frame, int x, int y) {
    return x >= frame.left && x < frame.left + frame.width && y >= frame.top &&
           y < frame.top + frame.height;
}

}  // namespace

Recording::Recording(MainForm& form)
    : form_(form), Timer_aufnahme("Timer_aufnahme", form.platform.scheduler, secondMs, false) {
    Timer_aufnahme.Tick.connect([this] { Timer_aufnahme_Timer(); });
    form_.mnurecord.Click.connect([this] { mnurecord_Click(); });
    const std::string reason = form_.platform.recorder.unavailableReason();
    form_.mnurecord.setEnabled(reason.empty());
    form_.mnurecord.setToolTip(reason);
}

Recording::~Recording() {
    if (watching_) {
        form_.platform.recorder.stopRecording();
    }
}

void Recording::mnurecord_Click() {
    MainForm& f = form_;
    if (active() || f.run.running() || !f.platform.recorder.unavailableReason().empty()) {
        return;
    }
    recorded_.clear();
    titleBefore_ = f.frm_pontrel.caption();
    f.cmd_start.setCaption("Aufnahme beenden");
    secondsLeft_ = countdownSeconds;
    countdown();
    Timer_aufnahme.setInterval(secondMs);
    Timer_aufnahme.setEnabled(true);
}

void Recording::countdown() {
    form_.frm_pontrel.setCaption("Pontrel – Aufnahme in " + std::to_string(secondsLeft_) + "…");
}

void Recording::Timer_aufnahme_Timer() {
    MainForm& f = form_;
    if (watching_) {
        if (collect(f.platform.recorder.takeRecorded())) {
            aufnahme_beenden();
        }
        return;
    }
    if (--secondsLeft_ > 0) {
        countdown();
        return;
    }
    if (const Status started = f.platform.recorder.startRecording(); !started.ok()) {
        f.platform.environment.writeLog("Aufnahme nicht möglich: " + started.message());
        aufnahme_beenden();
        return;
    }
    watching_ = true;
    f.frm_pontrel.setCaption("Pontrel – Aufnahme läuft");
    Timer_aufnahme.setInterval(collectMs);
}

void Recording::aufnahme_beenden() {
    MainForm& f = form_;
    if (!active()) {
        return;
    }
    if (watching_) {
        (void)collect(f.platform.recorder.takeRecorded());
        f.platform.recorder.stopRecording();
        watching_ = false;
    }
    Timer_aufnahme.setEnabled(false);
    f.frm_pontrel.setCaption(titleBefore_);
    f.cmd_start.setCaption("Start");
    insertRecorded();
}

bool Recording::collect(const std::vector<RecordedInput>& seen) {
    for (const RecordedInput& input : seen) {
        if (input.kind == RecordedInput::Kind::Key && input.text == form_.abbruch_tastenname) {
            return true;
        }
        if (!ownWindow(input)) {
            recorded_.push_back(input);
        }
    }
    return false;
}

bool Recording::ownWindow(const RecordedInput& input) {
    WindowService& window = form_.platform.window;
    if (input.kind == RecordedInput::Kind::Click) {
        return inside(window.frameRect(), input.x, input.y);
    }
    return window.isActive();
}

int Recording::baseWait() const {
    const RecordFields settings = splitRecord(form_.befehl_zeilen[0]);
    return toInt(
        std::clamp(leadingNumber(settings.value1.value_or("")), shortestBaseWait, longestBaseWait));
}

void Recording::insertRecorded() {
    MainForm& f = form_;
    RecordedCommands result = recordedCommands(recorded_, baseWait());
    recorded_.clear();
    for (const std::string& note : result.notes) {
        f.platform.environment.writeLog(note);
    }
    std::vector<std::string>& records = result.records;
    const auto room = static_cast<std::size_t>(std::max(0, f.anzeige_grenze - f.befehl_anzahl));
    if (records.size() > room) {
        f.platform.environment.writeLog(
            "Aufnahme: " + std::to_string(records.size() - room) +
            " Befehle passen nicht mehr in die Liste und wurden verworfen.");
        records.resize(room);
    }
    if (!records.empty()) {
        (void)f.list.hinter_aktuellem_einfuegen(records);
    }
}

}  // namespace pontrel
