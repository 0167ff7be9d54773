#include "window/FormDesign.h"

#include <array>

namespace pontrel {

namespace {

// Rows of the editor area, between the question and the buttons.
constexpr int row1 = 2430;
constexpr int row2 = 2700;
constexpr int row3 = 2970;
constexpr int row4 = 3240;
constexpr int row5 = 3510;
constexpr int labelDrop = 30;  // labels sit a little lower than the boxes beside them

constexpr bool locked = true;
constexpr bool unlocked = false;

constexpr std::array design{
    // Title strip.
    ControlDesign{"img_title", {360, 0, 3705, 450}},
    ControlDesign{"lbl_title", {0, 0, 4575, 375}, noPanel, unlocked, LabelStyle::title},
    ControlDesign{
        "lbl_titleversion", {3120, 240, 735, 255}, noPanel, unlocked, LabelStyle::titleVersion},
    ControlDesign{"img_brantsoftlogo", {120, 120, 285, 270}},
    // Navigation.
    ControlDesign{"lbl_anz_befehle", {120, 480, 2055, 255}},
    ControlDesign{"img_befehl_left", {120, 720, 255, 255}, noPanel, locked},
    ControlDesign{"txt_befehle", {360, 700, 615, 285}, noPanel, locked},
    ControlDesign{"img_befehl_right", {960, 720, 255, 255}, noPanel, locked},
    ControlDesign{"lbl_befehl", {1440, 480, 1215, 255}},
    ControlDesign{"hsc_befehle", {1440, 720, 3015, 255}, noPanel, locked},
    ControlDesign{"lbl_hscaktuell", {1440, 960, 1095, 255}},
    ControlDesign{"lbl_hscmax", {3360, 960, 1095, 255}, noPanel, unlocked, LabelStyle::flushRight},
    // Chooser and question.
    ControlDesign{"com_code", {120, 1200, 4335, 315}, noPanel, locked},
    ControlDesign{"com_code0", {120, 1200, 4335, 315}},
    ControlDesign{"lbl_info", {120, 1680, 4335, 735}, noPanel, unlocked, LabelStyle::bold},
    // Logo (below the editor rows, behind the buttons' left neighbours).
    ControlDesign{"img_pontrel", {0, 3720, 2850, 1410}},
    // Panel 0.
    ControlDesign{"lbl_0_wait", {120, row1 + labelDrop, 2160, 255}, panel(0)},
    ControlDesign{"txt_0_wait", {2280, row1, 735, 285}, panel(0), locked},
    ControlDesign{"lbl_0_ms", {3060, row1 + labelDrop, 480, 255}, panel(0)},
    ControlDesign{"lbl_0_loop", {120, row2 + labelDrop, 2160, 255}, panel(0)},
    ControlDesign{"txt_0_loop", {2280, row2, 735, 285}, panel(0), locked},
    ControlDesign{"lbl_0_mal", {3060, row2 + labelDrop, 480, 255}, panel(0)},
    ControlDesign{"lbl_0_transparenz", {120, row3 + labelDrop, 1740, 255}, panel(0)},
    ControlDesign{"chk_0_transparenz", {1860, row3 + labelDrop, 255, 255}, panel(0), locked},
    ControlDesign{"lbl_0_vordergrund", {120, row4 + labelDrop, 1740, 255}, panel(0)},
    ControlDesign{"chk_0_vordergrund", {1860, row4 + labelDrop, 255, 255}, panel(0), locked},
    ControlDesign{"lbl_0_listbox", {120, row5 + labelDrop, 1740, 255}, panel(0)},
    ControlDesign{"chk_0_listbox", {1860, row5 + labelDrop, 255, 255}, panel(0), locked},
    ControlDesign{"lbl_0_startcode", {2400, row3 + labelDrop, 1095, 255}, panel(0)},
    ControlDesign{"com_0_startcode", {3495, row3, 960, 315}, panel(0), locked},
    ControlDesign{"lbl_0_abbruchcode", {2400, row4 + labelDrop, 1095, 255}, panel(0)},
    ControlDesign{"com_0_abbruchcode", {3495, row4, 960, 315}, panel(0), locked},
    // Panel 1.
    ControlDesign{"lbl_1_random", {120, row1 + labelDrop, 1920, 255}, panel(1)},
    ControlDesign{"txt_1_random1", {2040, row1, 1000, 285}, panel(1), locked},
    ControlDesign{"txt_1_random2", {3100, row1, 1000, 285}, panel(1), locked},
    ControlDesign{"lbl_1_ms", {4140, row1 + labelDrop, 315, 255}, panel(1)},
    // Panel 2 (position labels shared with panel 10).
    ControlDesign{"lbl_2_X", {120, row1 + labelDrop, 1200, 255}, panel(2) | panel(10)},
    ControlDesign{"txt_2_x", {1320, row1, 900, 285}, panel(2), locked},
    ControlDesign{"lbl_2_Xpixel", {2400, row1 + labelDrop, 2055, 255}, panel(2) | panel(10)},
    ControlDesign{"lbl_2_Y", {120, row2 + labelDrop, 1200, 255}, panel(2) | panel(10)},
    ControlDesign{"txt_2_y", {1320, row2, 900, 285}, panel(2), locked},
    ControlDesign{"lbl_2_Ypixel", {2400, row2 + labelDrop, 2055, 255}, panel(2) | panel(10)},
    // Panel 4.
    ControlDesign{"lbl_4_eingabebefehl", {120, row1 + labelDrop, 1500, 255}, panel(4)},
    ControlDesign{"com_4_eingabebefehl", {1680, row1, 2775, 315}, panel(4), locked},
    ControlDesign{"lbl_4_eingabetext", {120, row2 + labelDrop, 4335, 255}, panel(4)},
    ControlDesign{"txt_4_eingabetext", {120, row3, 4335, 285}, panel(4), locked},
    // Panel 5.
    ControlDesign{"lbl_5_start", {120, row1 + labelDrop, 2400, 255}, panel(5)},
    ControlDesign{"txt_5_start", {2520, row1, 1200, 285}, panel(5), locked},
    ControlDesign{"lbl_5_hochzählen", {120, row2 + labelDrop, 2400, 255}, panel(5)},
    ControlDesign{"txt_5_hochzählen", {2520, row2, 1200, 285}, panel(5), locked},
    // Panel 6.
    ControlDesign{"lbl_6_pfad", {120, row1 + labelDrop, 4335, 255}, panel(6)},
    ControlDesign{"txt_6_pfad", {120, row2, 4335, 285}, panel(6), locked},
    ControlDesign{"cmd_6_pfad", {120, row3 + 60, 2100, 330}, panel(6), locked},
    // Panel 8.
    ControlDesign{"lbl_8_laufwerk", {120, row1 + labelDrop, 2800, 255}, panel(8)},
    ControlDesign{"com_8_laufwerk", {2960, row1, 1495, 315}, panel(8), locked},
    ControlDesign{"lbl_8_move", {120, row2 + labelDrop, 2800, 255}, panel(8)},
    ControlDesign{"com_8_move", {2960, row2, 1495, 315}, panel(8), locked},
    // Panel 9.
    ControlDesign{"lbl_9_pfad", {120, row1 + labelDrop, 4335, 255}, panel(9)},
    ControlDesign{"txt_9_pfad", {120, row2, 4335, 285}, panel(9), locked},
    ControlDesign{"cmd_9_pfad", {120, row3 + 60, 2100, 330}, panel(9), locked},
    // Panel 10 (its boxes where panel 2 has its own; the time-out box sits in its label's gap).
    ControlDesign{"txt_10_x", {1320, row1, 900, 285}, panel(10), locked},
    ControlDesign{"txt_10_y", {1320, row2, 900, 285}, panel(10), locked},
    ControlDesign{"lbl_10_abbruch", {120, row3 + labelDrop, 4335, 255}, panel(10)},
    ControlDesign{"txt_10_abbruch", {1740, row3, 840, 285}, panel(10), locked},
    // Buttons.
    ControlDesign{"cmd_start", {2475, 4200, 900, 375}},
    ControlDesign{"cmd_save", {3360, 4200, 930, 375}, noPanel, locked},
    ControlDesign{"cmd_save2", {4275, 4200, 255, 375}, noPanel, locked},
    ControlDesign{"cmd_neu", {2475, 4560, 900, 375}, noPanel, locked},
    ControlDesign{"cmd_load", {3360, 4560, 930, 375}, noPanel, locked},
    ControlDesign{"cmd_load2", {4275, 4560, 255, 375}, noPanel, locked},
    // List and the picture behind it.
    ControlDesign{"img_box", {120, 5040, 4305, 1980}},
    ControlDesign{"lst_code", {120, 5040, 4335, 2010}, noPanel, locked},
    // About area, beyond the client width.
    ControlDesign{"frame_brantsoft", {9000, 120, 2655, 1815}},
    ControlDesign{"lbl_about_name", {9120, 240, 2415, 255}},
    ControlDesign{"lbl_about_version", {9120, 540, 2415, 255}},
    ControlDesign{"lbl_about_date", {9120, 840, 2415, 255}},
    ControlDesign{"lbl_about_web", {9120, 1140, 2415, 255}},
    ControlDesign{"lbl_about_credit", {9120, 1440, 2415, 255}},
    // The option buttons of panels 3 and 7 come last in drawing and tab order; panel 7 has two
    // columns.
    ControlDesign{"opt_3_click(0)", {120, row1, 2220, 285}, panel(3), locked},
    ControlDesign{"opt_3_click(1)", {120, row2, 2220, 285}, panel(3), locked},
    ControlDesign{"opt_3_click(2)", {120, row3, 2220, 285}, panel(3), locked},
    ControlDesign{"opt_7_pc(0)", {120, row1, 2220, 285}, panel(7), locked},
    ControlDesign{"opt_7_pc(1)", {120, row2, 2220, 285}, panel(7), locked},
    ControlDesign{"opt_7_pc(2)", {120, row3, 2220, 285}, panel(7), locked},
    ControlDesign{"opt_7_pc(3)", {120, row4, 2220, 285}, panel(7), locked},
    ControlDesign{"opt_7_pc(4)", {2400, row1, 2055, 285}, panel(7), locked},
    ControlDesign{"opt_7_pc(5)", {2400, row2, 2055, 285}, panel(7), locked},
    ControlDesign{"opt_7_pc(6)", {2400, row3, 2055, 285}, panel(7), locked},
};

}  // namespace

std::span<const ControlDesign> formDesign() {
    return design;
}

}  // namespace pontrel
