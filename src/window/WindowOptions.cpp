#include "window/WindowOptions.h"

#include <array>
#include <string>

#include "model/MacroFile.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr std::array<Colour, 3> schemeColours{6348832, 14741536, 7368959};

constexpr int fadeStepMs = 2;
constexpr int fadeInFirstAlpha = 80;
constexpr int fadeInLastAlpha = 254;
constexpr int fadeOutFirstAlpha = 255;
constexpr int fadeOutLastAlpha = 81;

constexpr int largeListHeightPixels = 268;
constexpr int smallListHeightPixels = 134;
constexpr int largeOuterHeightTwips = 9619;
constexpr int smallOuterHeightTwips = 7665;
constexpr const char* moreCaption = "Mehr anzeigen";
constexpr const char* lessCaption = "Weniger anzeigen";

}  // namespace

WindowOptions::WindowOptions(MainForm& form)
    : form_(form), fadeTimer_("fade", form.platform.scheduler, fadeStepMs, false) {
    MainForm& f = form_;
    f.chk_0_transparenz.Click.connect([this] { chk_0_transparenz_Click(); });
    f.chk_0_vordergrund.Click.connect([this] { chk_0_vordergrund_Click(); });
    f.chk_0_listbox.Click.connect([this] { chk_0_listbox_Click(); });
    f.Timer_transparenz.Tick.connect([this] { Timer_transparenz_Timer(); });
    f.Timer_XYPos.Tick.connect([this] { Timer_XYPos_Timer(); });
    f.mnudisplay.Click.connect([this] { mnudisplay_Click(); });
    f.img_brantsoftlogo.Click.connect([this] { img_brantsoftlogo_Click(); });
    fadeTimer_.Tick.connect([this] { fadeStep(); });
    f.frm_pontrel.OnScreenChanged.connect([this] { frm_pontrel_OnScreenChanged(); });
}

void WindowOptions::frm_pontrel_OnScreenChanged() {
    MainForm& f = form_;
    if (f.frm_pontrel.onScreen()) {
        f.Timer_transparenz.wake();
        f.Timer_XYPos.wake();
    }
}

bool WindowOptions::sleepsOffScreen(Timer& display) {
    if (form_.frm_pontrel.onScreen()) {
        return false;
    }
    // What it shows is off the screen: it ticks again, at once, when the window comes back.
    display.sleep();
    return true;
}

void WindowOptions::chk_0_transparenz_Click() {
    form_.Timer_transparenz.setEnabled(form_.chk_0_transparenz.value() == 1);
}

void WindowOptions::chk_0_vordergrund_Click() {
    form_.logIgnoredFailure("Im Vordergrund",
                            form_.platform.window.setTopmost(form_.chk_0_vordergrund.value() == 1));
}

void WindowOptions::chk_0_listbox_Click() {
    form_.lst_code.setVisible(form_.chk_0_listbox.value() != 0);
}

void WindowOptions::Timer_transparenz_Timer() {
    MainForm& f = form_;
    if (sleepsOffScreen(f.Timer_transparenz)) {
        return;
    }
    const ScreenPoint pointer = f.platform.input.cursorPos();
    const Rect frame = f.platform.window.frameRect();
    // The edge itself counts as outside.
    const bool inside = frame.left < pointer.x && pointer.x < frame.left + frame.width &&
                        frame.top < pointer.y && pointer.y < frame.top + frame.height;
    if (inside && f.ausgeblendet) {
        transparenz_blenden(0);
    } else if (!inside && !f.ausgeblendet) {
        transparenz_blenden(1);
    }
}

void WindowOptions::transparenz_blenden(int richtung) {
    if (richtung != 0 && richtung != 1) {
        return;
    }
    // A new fade takes over from one still running, so the window ends where the pointer is.
    fadeDirection_ = richtung;
    fadeAlpha_ = richtung == 0 ? fadeInFirstAlpha : fadeOutFirstAlpha;
    fadeTimer_.setEnabled(false);
    fadeStep();
    fadeTimer_.setEnabled(true);
}

void WindowOptions::fadeStep() {
    MainForm& f = form_;
    f.logIgnoredFailure("Transparenz", f.platform.window.setOpacity(fadeAlpha_));
    f.ausgeblendet = fadeDirection_ == 1;
    const bool last =
        fadeDirection_ == 0 ? fadeAlpha_ >= fadeInLastAlpha : fadeAlpha_ <= fadeOutLastAlpha;
    if (last) {
        fadeTimer_.setEnabled(false);
        return;
    }
    fadeAlpha_ += fadeDirection_ == 0 ? 2 : -2;
}

void WindowOptions::mnudisplay_Click() {
    MainForm& f = form_;
    const bool enlarge = f.mnudisplay.caption() == moreCaption;
    const int listPixels = enlarge ? largeListHeightPixels : smallListHeightPixels;
    f.lst_code.setHeight(listPixels * f.twips_pro_pixel_y);
    f.frm_pontrel.setOuterHeight(enlarge ? largeOuterHeightTwips : smallOuterHeightTwips);
    f.mnudisplay.setCaption(enlarge ? lessCaption : moreCaption);
}

void WindowOptions::Timer_XYPos_Timer() {
    if (!sleepsOffScreen(form_.Timer_XYPos)) {
        form_.pointerDisplay.zeigen();
    }
}

void WindowOptions::img_brantsoftlogo_Click() {
    form_.logIgnoredFailure("Webseite öffnen",
                            form_.platform.environment.openUrl(PONTREL_HOME_PAGE));
}

void WindowOptions::form_eigenschaften(const std::string& kopfzeile) {
    MainForm& f = form_;
    const int fenster = headerDigit(kopfzeile, 7);
    if (fenster >= 1 && fenster <= 7) {
        if (fenster & 1) {
            f.chk_0_transparenz.setValue(1);
        }
        if (fenster & 2) {
            f.chk_0_vordergrund.setValue(1);
        }
        if (fenster & 4) {
            f.chk_0_listbox.setValue(0);
        }
    } else if (fenster == 9) {
        f.frm_pontrel.setVisible(false);
    } else {
        f.frm_pontrel.setVisible(true);
        f.chk_0_transparenz.setValue(0);
        f.chk_0_vordergrund.setValue(0);
        f.chk_0_listbox.setValue(1);
    }
    farbschema(headerDigit(kopfzeile, 9));
}

void WindowOptions::farbschema(int schema) {
    if (schema < 1 || schema > static_cast<int>(schemeColours.size())) {
        return;
    }
    MainForm& f = form_;
    const Colour colour = schemeColours[static_cast<std::size_t>(schema - 1)];
    f.frame_brantsoft.setBackColour(colour);
    f.frm_pontrel.setBackColour(colour);
    for (int i = 0; i < f.opt_3_click.size(); ++i) {
        f.opt_3_click[i].setBackColour(colour);
    }
    for (int i = 0; i < f.opt_7_pc.size(); ++i) {
        f.opt_7_pc[i].setBackColour(colour);
    }
    const Image* pictures[] = {&f.img_versionspontrel_0, &f.img_versionspontrel_1,
                               &f.img_versionspontrel_2};
    f.img_pontrel.setPicture(pictures[schema - 1]->picture());
}

}  // namespace pontrel
