#include "window/WindowOptions.h"

#include <array>

#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr std::array<Colour, 3> schemeColours{6348832, 14741536, 7368959};

}  // namespace

WindowOptions::WindowOptions(MainForm& form) : form_(form) {}

void WindowOptions::form_eigenschaften(const std::string& kopfzeile) {
    (void)kopfzeile;
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
