#include "engine/Interpreter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "model/Numbers.h"
#include "platform/controls/HeldFlag.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr double longestWait = 60000;

// Runs one statement of a step: whatever it throws ends that statement only.
template <typename Statement>
void ignoringErrors(Statement&& statement) {
    try {
        std::forward<Statement>(statement)();
    } catch (...) {
        // A failing action never stops the run; nothing is shown.
    }
}

double clampedWait(std::string& value) {
    const double wait = std::clamp(leadingNumber(value), 0.0, longestWait);
    value = numberText(wait);
    return wait;
}

}  // namespace

Interpreter::Interpreter(MainForm& form) : form_(form) {
    form_.Timer_start.Tick.connect([this] { Timer_start_Timer(); });
}

void Interpreter::Timer_start_Timer() {
    MainForm& f = form_;
    const HeldFlag inStep(stepInProgress_);
    if (f.pixel_status != 2) {
        f.Timer_start.setInterval(toInt(f.grund_wartezeit));
    }
    ignoringErrors([&] { f.records.befehl_aktuellencode(); });
    ignoringErrors([&] {
        // Only shown: filling the panel must not write the half-filled panel back into the record
        // when no run holds the editor (a command tried from the list).
        const HeldFlag showOnly(f.aenderung_sperren);
        f.panels.codesichtbar();
    });
    if (f.chk_0_listbox.value() == 1) {
        ignoringErrors([&] { f.records.befehlsliste(); });
    }
    if (f.befehl_nr >= 0 && f.befehl_nr <= FormState::lastSlot) {
        // The base wait also between the deliveries, which the input thread may make late.
        f.platform.input.spaceNextInput(std::chrono::milliseconds(toInt(f.grund_wartezeit)));
        ignoringErrors([&] { perform(); });
    }
    f.lbl_hscaktuell.setCaption(std::to_string(f.befehl_nr));
    f.Timer_start.setEnabled(false);
}

void Interpreter::perform() {
    MainForm& f = form_;
    const double code = f.befehl_code;
    if (code == 1) {
        randomWait();
    } else if (code == 2) {
        f.input.movePointer();
    } else if (code == 3) {
        f.input.clickButton();
    } else if (code == 4) {
        f.input.typeText();
    } else if (code == 5) {
        f.input.countUp();
    } else if (code == 6) {
        f.system.startProgram();
    } else if (code == 7) {
        f.system.pcCommand();
    } else if (code == 8) {
        f.system.cdTray();
    } else if (code == 9) {
        f.screen.screenshot();
    } else if (code == 10) {
        f.screen.pixelWatch();
    }
}

void Interpreter::randomWait() {
    MainForm& f = form_;
    const double lower = clampedWait(f.befehl_wert1[static_cast<std::size_t>(f.befehl_nr)]);
    const double upper = clampedWait(f.records.zufallszeit_bis());

    double extra = 0;
    if (upper < lower) {
        extra = roundHalfEven(lower);
    } else {
        extra = std::floor(f.platform.environment.randomUnit() * (upper - lower) + lower);
    }
    f.Timer_start.setInterval(toInt(f.grund_wartezeit + extra));
}

}  // namespace pontrel
