#pragma once

#include "platform/ScreenPoint.h"

namespace pontrel {

class MainForm;

// The pointer display of the position panels (002 and 010) and their Enter capture. Enter takes
// the live pointer position while another program has the focus, where the desktop tells it;
// while our window has the focus, or where the desktop does not tell it, Enter shows a frozen
// picture of the whole screen on which the user clicks the point.
class PointerDisplay {
public:
    explicit PointerDisplay(MainForm& form);

    // One tick of Timer_XYPos while the window is on the screen.
    void zeigen();

private:
    void enterPressed(bool pointerKnown, ScreenPoint pointer);
    // The picker's point into the boxes; false when it could not be shown.
    bool pickOnScreen();
    void writePosition(ScreenPoint point);

    MainForm& form_;
};

}  // namespace pontrel
