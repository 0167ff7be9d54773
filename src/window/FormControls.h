#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/Scheduler.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/CommonDialog.h"
#include "platform/controls/Form.h"
#include "platform/controls/Frame.h"
#include "platform/controls/HScrollBar.h"
#include "platform/controls/Image.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menu.h"
#include "platform/controls/OptionGroup.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Timer.h"

namespace pontrel {

struct ControlDesign;

// Every control of the main window under its design name, with its design captions, texts, list
// entries and timer settings. Where a control sits, which panel shows it, whether a run locks it
// and how a label looks come from the design table (FormDesign.cpp).
struct FormControls {
    explicit FormControls(Scheduler& scheduler);

    // Every control placed on the window, in drawing order (later ones lie on top), for the view.
    std::vector<Control*> allControls();
    // The controls of the panel of a command code, in drawing order.
    std::vector<Control*> panelControls(int code);
    // The controls a run takes from the user until it ends.
    std::vector<Control*> lockedWhileRunning();

    // Built first: the controls below are placed on it.
    Form frm_pontrel{"frm_pontrel"};

    // Title strip and about area.
    Label lbl_title{frm_pontrel, "lbl_title"};
    Label lbl_titleversion{frm_pontrel, "lbl_titleversion"};
    Image img_title{frm_pontrel, "img_title"};
    Image img_brantsoftlogo{frm_pontrel, "img_brantsoftlogo"};
    Frame frame_brantsoft{frm_pontrel, "frame_brantsoft"};
    Label lbl_about_name{frm_pontrel, "lbl_about_name"};
    Label lbl_about_version{frm_pontrel, "lbl_about_version"};
    Label lbl_about_date{frm_pontrel, "lbl_about_date"};
    Label lbl_about_web{frm_pontrel, "lbl_about_web"};
    Label lbl_about_credit{frm_pontrel, "lbl_about_credit"};

    // Navigation.
    Label lbl_anz_befehle{frm_pontrel, "lbl_anz_befehle"};
    Image img_befehl_left{frm_pontrel, "img_befehl_left"};
    TextBox txt_befehle{frm_pontrel, "txt_befehle"};
    Image img_befehl_right{frm_pontrel, "img_befehl_right"};
    Label lbl_befehl{frm_pontrel, "lbl_befehl"};
    HScrollBar hsc_befehle{frm_pontrel, "hsc_befehle"};
    Label lbl_hscaktuell{frm_pontrel, "lbl_hscaktuell"};
    Label lbl_hscmax{frm_pontrel, "lbl_hscmax"};

    // Command chooser and question.
    ComboBox com_code{frm_pontrel, "com_code"};
    ComboBox com_code0{frm_pontrel, "com_code0"};
    Label lbl_info{frm_pontrel, "lbl_info"};

    // Panel 0: basic settings.
    Label lbl_0_wait{frm_pontrel, "lbl_0_wait"};
    TextBox txt_0_wait{frm_pontrel, "txt_0_wait"};
    Label lbl_0_ms{frm_pontrel, "lbl_0_ms"};
    Label lbl_0_loop{frm_pontrel, "lbl_0_loop"};
    TextBox txt_0_loop{frm_pontrel, "txt_0_loop"};
    Label lbl_0_mal{frm_pontrel, "lbl_0_mal"};
    Label lbl_0_transparenz{frm_pontrel, "lbl_0_transparenz"};
    CheckBox chk_0_transparenz{frm_pontrel, "chk_0_transparenz"};
    Label lbl_0_vordergrund{frm_pontrel, "lbl_0_vordergrund"};
    CheckBox chk_0_vordergrund{frm_pontrel, "chk_0_vordergrund"};
    Label lbl_0_listbox{frm_pontrel, "lbl_0_listbox"};
    CheckBox chk_0_listbox{frm_pontrel, "chk_0_listbox"};
    Label lbl_0_startcode{frm_pontrel, "lbl_0_startcode"};
    ComboBox com_0_startcode{frm_pontrel, "com_0_startcode"};
    Label lbl_0_abbruchcode{frm_pontrel, "lbl_0_abbruchcode"};
    ComboBox com_0_abbruchcode{frm_pontrel, "com_0_abbruchcode"};

    // Panel 1: random wait.
    Label lbl_1_random{frm_pontrel, "lbl_1_random"};
    TextBox txt_1_random1{frm_pontrel, "txt_1_random1"};
    TextBox txt_1_random2{frm_pontrel, "txt_1_random2"};
    Label lbl_1_ms{frm_pontrel, "lbl_1_ms"};

    // Panel 2 (its position labels also serve panel 10).
    Label lbl_2_X{frm_pontrel, "lbl_2_X"};
    TextBox txt_2_x{frm_pontrel, "txt_2_x"};
    Label lbl_2_Y{frm_pontrel, "lbl_2_Y"};
    TextBox txt_2_y{frm_pontrel, "txt_2_y"};
    Label lbl_2_Xpixel{frm_pontrel, "lbl_2_Xpixel"};
    Label lbl_2_Ypixel{frm_pontrel, "lbl_2_Ypixel"};

    // Panel 3: mouse button.
    OptionGroup opt_3_click{frm_pontrel,
                            "opt_3_click",
                            {"Linker Mausklick", "Mittlerer Mausklick", "Rechter Mausklick"}};

    // Panel 4: keyboard text.
    Label lbl_4_eingabebefehl{frm_pontrel, "lbl_4_eingabebefehl"};
    ComboBox com_4_eingabebefehl{frm_pontrel, "com_4_eingabebefehl"};
    Label lbl_4_eingabetext{frm_pontrel, "lbl_4_eingabetext"};
    TextBox txt_4_eingabetext{frm_pontrel, "txt_4_eingabetext"};

    // Panel 5: counter.
    Label lbl_5_start{frm_pontrel, "lbl_5_start"};
    TextBox txt_5_start{frm_pontrel, "txt_5_start"};
    Label lbl_5_hochzählen{frm_pontrel, "lbl_5_hochzählen"};
    TextBox txt_5_hochzählen{frm_pontrel, "txt_5_hochzählen"};

    // Panel 6: program path.
    Label lbl_6_pfad{frm_pontrel, "lbl_6_pfad"};
    TextBox txt_6_pfad{frm_pontrel, "txt_6_pfad"};
    Button cmd_6_pfad{frm_pontrel, "cmd_6_pfad"};

    // Panel 7: PC command.
    OptionGroup opt_7_pc{frm_pontrel,
                         "opt_7_pc",
                         {"Computer sperren", "Computer neustarten", "Computer herunterfahren",
                          "Monitor ausschalten", "Programm schließen", "Maus/Tastatur sperren",
                          "Maus/Tastatur entsperren"}};

    // Panel 8: CD drive.
    Label lbl_8_laufwerk{frm_pontrel, "lbl_8_laufwerk"};
    ComboBox com_8_laufwerk{frm_pontrel, "com_8_laufwerk"};
    Label lbl_8_move{frm_pontrel, "lbl_8_move"};
    ComboBox com_8_move{frm_pontrel, "com_8_move"};

    // Panel 9: screenshot.
    Label lbl_9_pfad{frm_pontrel, "lbl_9_pfad"};
    TextBox txt_9_pfad{frm_pontrel, "txt_9_pfad"};
    Button cmd_9_pfad{frm_pontrel, "cmd_9_pfad"};

    // Panel 10: pixel watch.
    TextBox txt_10_x{frm_pontrel, "txt_10_x"};
    TextBox txt_10_y{frm_pontrel, "txt_10_y"};
    Label lbl_10_abbruch{frm_pontrel, "lbl_10_abbruch"};
    TextBox txt_10_abbruch{frm_pontrel, "txt_10_abbruch"};

    // Buttons, logo and list.
    Button cmd_start{frm_pontrel, "cmd_start"};
    Button cmd_save{frm_pontrel, "cmd_save"};
    Button cmd_save2{frm_pontrel, "cmd_save2"};
    Button cmd_neu{frm_pontrel, "cmd_neu"};
    Button cmd_load{frm_pontrel, "cmd_load"};
    Button cmd_load2{frm_pontrel, "cmd_load2"};
    Image img_pontrel{frm_pontrel, "img_pontrel"};
    Image img_box{frm_pontrel, "img_box"};
    ListBox lst_code{frm_pontrel, "lst_code"};

    // The three scheme pictures (never shown themselves) and the capture surfaces: not placed.
    Image img_versionspontrel_0{"img_versionspontrel(0)"};
    Image img_versionspontrel_1{"img_versionspontrel(1)"};
    Image img_versionspontrel_2{"img_versionspontrel(2)"};
    PictureBox pic_screenshot{"pic_screenshot"};
    PictureBox pic_pixel{"pic_pixel"};

    // The list's context menu.
    MenuItem mnunewcommand{"mnunewcommand", "Neuer Befehl", "Strg+N"};
    MenuItem mnuSeparator2{"mnuSeparator2", "-"};
    MenuItem mnucut{"mnucut", "Ausschneiiden", "Strg+X"};
    MenuItem mnucopy{"mnucopy", "Kopieren", "Strg+C"};
    MenuItem mnupaste{"mnupaste", "Einfügen", "Strg+V"};
    MenuItem mnudelete{"mnudelete", "Löschen", "Entf"};
    MenuItem mnuSeparator{"mnuSeparator", "-"};
    MenuItem mnuall{"mnuall", "Alles makieren", "Strg+A"};
    MenuItem mnudisplay{"mnudisplay", "Mehr anzeigen", "Strg+D"};
    MenuItem mnuSeparator3{"mnuSeparator3", "-"};
    MenuItem mnurecord{"mnurecord", "Aufnahme starten", "Strg+R"};
    Menu mnulistboxcode{"mnulistboxcode",
                        "ListBoxCode",
                        {&mnunewcommand, &mnuSeparator2, &mnucut, &mnucopy, &mnupaste, &mnudelete,
                         &mnuSeparator, &mnuall, &mnudisplay, &mnuSeparator3, &mnurecord}};

    // The file dialogs of the hidden form frm_CommonDialog.
    CommonDialog comdia_pontrel{"comdia_pontrel", {}, {}};
    CommonDialog comdia_6{"comdia_6", {}, {}};
    CommonDialog comdia_9{"comdia_9", {}, {}};

    // Timers.
    Timer Timer_befehlstart;
    Timer Timer_befehlstop;
    Timer Timer_startloop;
    Timer Timer_start;
    Timer Timer_combobox;
    Timer Timer_XYPos;
    Timer Timer_transparenz;

private:
    struct Placement {
        Control* control;
        const ControlDesign* design;
    };

    void applyCaptions();
    void applyLists();
    void applyDesign();
    Control* placedControl(std::string_view name) const;
    std::vector<Control*> controlsWhere(
        const std::function<bool(const ControlDesign&)>& wanted) const;

    std::vector<Placement> placements_;
};

}  // namespace pontrel
