#include "window/PointerDisplay.h"

#include <optional>
#include <string>

#include "platform/InputService.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr int virtualKeyEnter = 13;
constexpr int pressedNow = keyDownNow | keyPressedSinceLastQuery;

bool positionPanel(double code) {
    return code == 2 || code == 10;
}

}  // namespace

PointerDisplay::PointerDisplay(MainForm& form) : form_(form) {}

void PointerDisplay::zeigen() {
    MainForm& f = form_;
    InputService& input = f.platform.input;
    const bool pointerKnown = input.knowsPointerEverywhere();
    ScreenPoint pointer;
    if (pointerKnown) {
        pointer = input.cursorPos();
        f.mausposition = pointer;
        f.lbl_2_Xpixel.setCaption("X: " + std::to_string(pointer.x) + " Pixel");
        f.lbl_2_Ypixel.setCaption("Y: " + std::to_string(pointer.y) + " Pixel");
    } else {
        // A position read over another program's window would be wrong: no numbers then.
        f.lbl_2_Xpixel.setCaption("X: mit Enter wählen");
        f.lbl_2_Ypixel.setCaption("Y: mit Enter wählen");
    }
    if (input.asyncKeyState(virtualKeyEnter) == pressedNow && positionPanel(f.befehl_code)) {
        enterPressed(pointerKnown, pointer);
    }
}

void PointerDisplay::enterPressed(bool pointerKnown, ScreenPoint pointer) {
    MainForm& f = form_;
    // During a run the picture would cover the screen the macro works on.
    const bool picks = !f.run.running() && (!pointerKnown || f.platform.window.isActive());
    if (picks && pickOnScreen()) {
        return;
    }
    if (pointerKnown) {
        writePosition(pointer);
    }
}

bool PointerDisplay::pickOnScreen() {
    MainForm& f = form_;
    if (!f.platform.dialogs.offersPointPicker()) {
        return false;
    }
    const ScreenSize size = f.platform.screen.screenSize();
    const Bitmap picture = f.platform.screen.capture(0, 0, size.width, size.height);
    if (picture.empty()) {
        f.logIgnoredFailure("Punkt wählen",
                            Status::failure("der Bildschirm ließ sich nicht lesen"));
        return false;
    }
    const std::optional<ScreenPoint> point = f.platform.dialogs.pickPoint(picture);
    // An Enter pressed on the picture is not a new capture.
    (void)f.platform.input.asyncKeyState(virtualKeyEnter);
    // The panel may have changed while the picture was shown (the start key, say).
    if (point && positionPanel(f.befehl_code)) {
        writePosition(*point);
    }
    return true;
}

void PointerDisplay::writePosition(ScreenPoint point) {
    MainForm& f = form_;
    TextBox& x = f.befehl_code == 2 ? f.txt_2_x : f.txt_10_x;
    TextBox& y = f.befehl_code == 2 ? f.txt_2_y : f.txt_10_y;
    // The boxes' change handlers write the record.
    x.setText(std::to_string(point.x));
    y.setText(std::to_string(point.y));
}

}  // namespace pontrel
