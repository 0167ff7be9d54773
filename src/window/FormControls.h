#pragma once

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

// Every control of the main window under its design name, with its design captions, texts, list
// entries and timer settings. Positions come from the design table (FormDesign.cpp).
struct FormControls {
    explicit FormControls(Scheduler& scheduler);

    // Every visible-kind control in drawing order (later ones lie on top), for the view.
    std::vector<Control*> allControls();

    Form frm_pontrel{"frm_pontrel"};

    // Title strip and about area.
    Label lbl_title{"lbl_title"};
    Label lbl_titleversion{"lbl_titleversion"};
    Image img_title{"img_title"};
    Image img_brantsoftlogo{"img_brantsoftlogo"};
    Frame frame_brantsoft{"frame_brantsoft"};
    Label lbl_about_name{"lbl_about_name"};
    Label lbl_about_version{"lbl_about_version"};
    Label lbl_about_date{"lbl_about_date"};
    Label lbl_about_web{"lbl_about_web"};
    Label lbl_about_credit{"lbl_about_credit"};

    // Navigation.
    Label lbl_anz_befehle{"lbl_anz_befehle"};
    Image img_befehl_left{"img_befehl_left"};
    TextBox txt_befehle{"txt_befehle"};
    Image img_befehl_right{"img_befehl_right"};
    Label lbl_befehl{"lbl_befehl"};
    HScrollBar hsc_befehle{"hsc_befehle"};
    Label lbl_hscaktuell{"lbl_hscaktuell"};
    Label lbl_hscmax{"lbl_hscmax"};

    // Command chooser and question.
    ComboBox com_code{"com_code"};
    ComboBox com_code0{"com_code0"};
    Label lbl_info{"lbl_info"};

    // Panel 0: basic settings.
    Label lbl_0_wait{"lbl_0_wait"};
    TextBox txt_0_wait{"txt_0_wait"};
    Label lbl_0_ms{"lbl_0_ms"};
    Label lbl_0_loop{"lbl_0_loop"};
    TextBox txt_0_loop{"txt_0_loop"};
    Label lbl_0_mal{"lbl_0_mal"};
    Label lbl_0_transparenz{"lbl_0_transparenz"};
    CheckBox chk_0_transparenz{"chk_0_transparenz"};
    Label lbl_0_vordergrund{"lbl_0_vordergrund"};
    CheckBox chk_0_vordergrund{"chk_0_vordergrund"};
    Label lbl_0_listbox{"lbl_0_listbox"};
    CheckBox chk_0_listbox{"chk_0_listbox"};
    Label lbl_0_startcode{"lbl_0_startcode"};
    ComboBox com_0_startcode{"com_0_startcode"};
    Label lbl_0_abbruchcode{"lbl_0_abbruchcode"};
    ComboBox com_0_abbruchcode{"com_0_abbruchcode"};

    // Panel 1: random wait.
    Label lbl_1_random{"lbl_1_random"};
    TextBox txt_1_random1{"txt_1_random1"};
    TextBox txt_1_random2{"txt_1_random2"};
    Label lbl_1_ms{"lbl_1_ms"};

    // Panel 2 (its position labels also serve panel 10).
    Label lbl_2_X{"lbl_2_X"};
    TextBox txt_2_x{"txt_2_x"};
    Label lbl_2_Y{"lbl_2_Y"};
    TextBox txt_2_y{"txt_2_y"};
    Label lbl_2_Xpixel{"lbl_2_Xpixel"};
    Label lbl_2_Ypixel{"lbl_2_Ypixel"};

    // Panel 3: mouse button.
    OptionGroup opt_3_click{"opt_3_click",
                            {"Linker Mausklick", "Mittlerer Mausklick", "Rechter Mausklick"}};

    // Panel 4: keyboard text.
    Label lbl_4_eingabebefehl{"lbl_4_eingabebefehl"};
    ComboBox com_4_eingabebefehl{"com_4_eingabebefehl"};
    Label lbl_4_eingabetext{"lbl_4_eingabetext"};
    TextBox txt_4_eingabetext{"txt_4_eingabetext"};

    // Panel 5: counter.
    Label lbl_5_start{"lbl_5_start"};
    TextBox txt_5_start{"txt_5_start"};
    Label lbl_5_hochzählen{"lbl_5_hochzählen"};
    TextBox txt_5_hochzählen{"txt_5_hochzählen"};

    // Panel 6: program path.
    Label lbl_6_pfad{"lbl_6_pfad"};
    TextBox txt_6_pfad{"txt_6_pfad"};
    Button cmd_6_pfad{"cmd_6_pfad"};

    // Panel 7: PC command.
    OptionGroup opt_7_pc{"opt_7_pc",
                         {"Computer sperren", "Computer neustarten", "Computer herunterfahren",
                          "Monitor ausschalten", "Programm schließen", "Maus/Tastatur sperren",
                          "Maus/Tastatur entsperren"}};

    // Panel 8: CD drive.
    Label lbl_8_laufwerk{"lbl_8_laufwerk"};
    ComboBox com_8_laufwerk{"com_8_laufwerk"};
    Label lbl_8_move{"lbl_8_move"};
    ComboBox com_8_move{"com_8_move"};

    // Panel 9: screenshot.
    Label lbl_9_pfad{"lbl_9_pfad"};
    TextBox txt_9_pfad{"txt_9_pfad"};
    Button cmd_9_pfad{"cmd_9_pfad"};

    // Panel 10: pixel watch.
    TextBox txt_10_x{"txt_10_x"};
    TextBox txt_10_y{"txt_10_y"};
    Label lbl_10_abbruch{"lbl_10_abbruch"};
    TextBox txt_10_abbruch{"txt_10_abbruch"};

    // Buttons, logo and list.
    Button cmd_start{"cmd_start"};
    Button cmd_save{"cmd_save"};
    Button cmd_save2{"cmd_save2"};
    Button cmd_neu{"cmd_neu"};
    Button cmd_load{"cmd_load"};
    Button cmd_load2{"cmd_load2"};
    Image img_pontrel{"img_pontrel"};
    Image img_box{"img_box"};
    ListBox lst_code{"lst_code"};

    // The three scheme pictures (never shown themselves) and the capture surfaces.
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
    void applyCaptions();
    void applyLists();
    void applyDesignGeometry();
};

}  // namespace pontrel
