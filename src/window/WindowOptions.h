#pragma once

#include <string>

#include "platform/controls/Timer.h"

namespace pontrel {

class MainForm;

// Transparency with fading, always on top, the list display, the larger and smaller layout, the
// pointer display's timer, the colour schemes and the logo link.
class WindowOptions {
public:
    explicit WindowOptions(MainForm& form);

    // Applies the window digit and the look digit of a macro file's header line.
    void form_eigenschaften(const std::string& kopfzeile);
    // Colour scheme 1, 2 or 3: the background colour and the logo picture.
    void farbschema(int schema);
    // Fades the window in (0) or out (1), one alpha step of 2 about every 2 ms.
    void transparenz_blenden(int richtung);
    // The layout entry of the list's menu, also Ctrl+D in the list.
    void mnudisplay_Click();

private:
    void chk_0_transparenz_Click();
    void chk_0_vordergrund_Click();
    void chk_0_listbox_Click();
    void Timer_transparenz_Timer();
    void Timer_XYPos_Timer();
    void img_brantsoftlogo_Click();
    void fadeStep();
    // The display timers run only while the window is on the screen.
    void frm_pontrel_OnScreenChanged();
    bool sleepsOffScreen(Timer& display);

    MainForm& form_;
    Timer fadeTimer_;
    int fadeAlpha_ = 255;
    int fadeDirection_ = 0;
};

}  // namespace pontrel
