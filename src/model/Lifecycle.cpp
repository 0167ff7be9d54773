#include "model/Lifecycle.h"

#include <string>

#include "model/CommandNames.h"
#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/ChangeLock.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr int designColourScheme = 2;

// Record 0 from the basic-settings boxes as they stand.
std::string basicSettingsRecord(const MainForm& f) {
    return "code:|000|wait:|" + f.txt_0_wait.text() + "|loop:|" + f.txt_0_loop.text() + "|start:|" +
           f.start_tastenname + "|stop:|" + f.abbruch_tastenname + "|";
}

void putDefaultMacro(MainForm& f) {
    f.befehl_zeilen[0] = basicSettingsRecord(f);
    for (std::size_t slot = 1; slot <= 3; ++slot) {
        f.befehl_zeilen[slot] = std::string(defaultRecord);
    }
}

std::string inCurrentDirectory(MainForm& f, const std::string& fileName) {
    Environment& environment = f.platform.environment;
    return environment.currentDirectory() + environment.pathSeparator() + fileName;
}

}  // namespace

Lifecycle::Lifecycle(MainForm& form) : form_(form) {
    form_.cmd_neu.Click.connect([this] { cmd_neu_Click(); });
}

void Lifecycle::Form_Load() {
    MainForm& f = form_;
    const ChangeLock lock(f.aenderung_sperren);
    f.dateipfad = "pontrel.qmc";

    f.twips_pro_pixel_x = toInt16(f.platform.window.twipsPerPixelX());
    f.twips_pro_pixel_y = toInt16(f.platform.window.twipsPerPixelY());
    f.ausgeblendet = false;

    f.hoechster_code = f.com_code.listCount();
    f.befehl_maximum = 32000;
    f.anzeige_grenze = 999;

    f.options.farbschema(designColourScheme);
    f.frm_pontrel.setIcon("pontrel");

    f.abbruch_taste = "&H1B";
    f.abbruch_tastenname = "ESC";
    f.start_taste = "&H7C";
    f.zaehler_wert = 0;
    f.befehl_nr = 0;
    f.befehl_anzahl = toInt(leadingNumber(f.txt_befehle.text()));

    f.com_code0.setText(std::string(basicSettingsName));
    f.com_0_startcode.setText("no");
    f.com_0_abbruchcode.setText("ESC");
    f.start_tastenname = "no";
    f.abbruch_tastenname = "ESC";
    f.com_code.setText(std::string(commandNames[0]));
    f.opt_3_click.select(0);
    f.opt_7_pc.select(0);
    f.klick_art = "left";
    f.pc_befehl = "lockpc";

    f.txt_6_pfad.setText(inCurrentDirectory(f, f.platform.environment.programFileName()));
    f.system.laufwerke_suchen();
    f.txt_9_pfad.setText(inCurrentDirectory(f, "screenshot.bmp"));

    putDefaultMacro(f);
    f.records.befehlsliste();

    // A macro loaded from the command line has shown its panel.
    if (!f.storage.kommandozeile_auswerten()) {
        f.panels.codesichtbar();
    }
    // The window is shown when start-up ends, also when a header applied on the way hid it.
    f.frm_pontrel.setVisible(true);
}

void Lifecycle::cmd_neu_Click() {
    MainForm& f = form_;
    f.lst_code.setEnabled(true);
    f.cmd_save.setEnabled(true);
    f.cmd_save2.setEnabled(true);
    f.hsc_befehle.setEnabled(true);

    const ChangeLock lock(f.aenderung_sperren);
    f.dateipfad = "pontrel.qmc";

    f.hsc_befehle.setValue(0);
    f.befehl_nr = 0;
    f.befehl_code = 0;
    f.zaehler_wert = 0;
    f.befehl_anzahl = 3;
    f.txt_befehle.setText("3");
    f.lbl_hscaktuell.setCaption("0");
    f.hsc_befehle.setMax(3);
    f.lbl_hscmax.setCaption("3");

    f.com_code0.setText(std::string(basicSettingsName));
    f.com_code.setText(std::string(commandNames[0]));
    f.com_code0.setVisible(true);
    f.com_code.setVisible(false);

    f.txt_0_wait.setText("500");
    f.txt_0_loop.setText("1");
    f.com_0_startcode.setText("no");
    f.com_0_abbruchcode.setText("ESC");
    f.start_tastenname = "no";
    f.abbruch_tastenname = "ESC";

    f.chk_0_transparenz.setValue(0);
    f.chk_0_vordergrund.setValue(0);
    f.chk_0_listbox.setValue(1);

    for (TextBox* zero : {&f.txt_1_random1, &f.txt_1_random2, &f.txt_2_x, &f.txt_2_y}) {
        zero->setText("0");
    }
    f.opt_3_click.select(0);
    f.klick_art = "left";
    f.txt_4_eingabetext.setText("");
    f.txt_5_start.setText("0");
    f.txt_5_hochzählen.setText("1");
    f.txt_6_pfad.setText(inCurrentDirectory(f, f.platform.environment.programFileName()));
    f.opt_7_pc.select(0);
    f.pc_befehl = "lockpc";
    f.txt_9_pfad.setText(inCurrentDirectory(f, "Screenshot.bmp"));
    for (TextBox* zero : {&f.txt_10_x, &f.txt_10_y, &f.txt_10_abbruch}) {
        zero->setText("0");
    }

    f.system.laufwerke_suchen();

    for (std::size_t slot = 0; slot < FormState::slotCount; ++slot) {
        f.befehl_zeilen[slot].clear();
        f.befehl_codetext[slot].clear();
        f.befehl_wert1[slot].clear();
        f.befehl_wert2[slot].clear();
    }
    putDefaultMacro(f);

    f.cmd_load.setEnabled(f.platform.files.exists(f.dateipfad));

    f.records.befehlsliste();
    f.panels.codesichtbar();
}

void Lifecycle::Form_Unload() {
    // A block left by "input-disable" must never outlive the program.
    form_.logIgnoredFailure("Maus/Tastatur entsperren", form_.platform.input.blockInput(false));
    form_.platform.environment.exitProcess(0);
}

}  // namespace pontrel
