#include "engine/InputActions.h"

#include <algorithm>

#include "engine/KeyTextParser.h"
#include "engine/TextSubstitution.h"
#include "model/Numbers.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

struct ButtonFlags {
    int down;
    int up;
};

constexpr ButtonFlags buttonFlags[] = {
    {mouseLeftDown, mouseLeftUp},
    {mouseRightDown, mouseRightUp},
    {mouseMiddleDown, mouseMiddleUp},
};

const ButtonFlags* flagsOf(int MouseButton) {
    if (MouseButton < 0 || MouseButton > 2) {
        return nullptr;
    }
    return &buttonFlags[MouseButton];
}

// The counter never leaves fourteen nines either way.
constexpr double counterLimit = 99999999999999.0;

}  // namespace

InputActions::InputActions(MainForm& form) : form_(form) {}

void InputActions::MouseDown(int MouseButton) {
    if (const ButtonFlags* flags = flagsOf(MouseButton)) {
        form_.logIgnoredFailure("Maustaste drücken", form_.platform.input.mouseEvent(flags->down));
    }
}

void InputActions::MouseUp(int MouseButton) {
    if (const ButtonFlags* flags = flagsOf(MouseButton)) {
        form_.logIgnoredFailure("Maustaste loslassen", form_.platform.input.mouseEvent(flags->up));
    }
}

void InputActions::MouseClick(int MouseButton) {
    MouseDown(MouseButton);
    MouseUp(MouseButton);
}

void InputActions::movePointer() {
    const auto slot = static_cast<std::size_t>(form_.befehl_nr);
    const int x = toInt(leadingNumber(form_.befehl_wert1[slot]));
    const int y = toInt(leadingNumber(form_.befehl_wert2[slot]));
    form_.logIgnoredFailure("Mauszeiger bewegen", form_.platform.input.setCursorPos(x, y));
}

void InputActions::clickButton() {
    const std::string& word = form_.befehl_wert1[static_cast<std::size_t>(form_.befehl_nr)];
    if (word == "left") {
        MouseClick(0);
    } else if (word == "middle") {
        MouseClick(2);
    } else if (word == "right") {
        MouseClick(1);
    }
}

void InputActions::typeText() {
    std::string& text = form_.befehl_wert1[static_cast<std::size_t>(form_.befehl_nr)];
    text = keyTextToSend(text, counterText());
    // A text the parser rejects is not typed at all, rather than typed in part.
    const KeyTextParse parsed = parseKeyText(text);
    if (!parsed.error) {
        form_.logIgnoredFailure("Tastatur Eingabe", form_.platform.input.sendKeys(parsed.actions));
    }
}

void InputActions::countUp() {
    MainForm& f = form_;
    const auto slot = static_cast<std::size_t>(f.befehl_nr);
    if (f.zaehler_neu) {
        f.zaehler_wert = leadingNumber(f.befehl_wert1[slot]);
        f.zaehler_naechster = f.zaehler_wert;
        f.zaehler_neu = false;
    }
    f.zaehler_naechster = std::clamp(f.zaehler_naechster, -counterLimit, counterLimit);
    f.zaehler_wert = f.zaehler_naechster;
    f.logIgnoredFailure("Zwischenablage leeren", f.platform.clipboard.clear());
    f.logIgnoredFailure("Zwischenablage füllen", f.platform.clipboard.setText(counterText()));
    f.zaehler_naechster = f.zaehler_wert + leadingNumber(f.befehl_wert2[slot]);
}

std::string InputActions::counterText() const {
    return pontrel::counterText(form_.zaehler_wert, form_.platform.environment.decimalSeparator());
}

}  // namespace pontrel
