#include "model/MacroStorage.h"

#include <algorithm>

#include "model/MacroFile.h"
#include "model/Numbers.h"
#include "model/RecordFields.h"
#include "window/ChangeLock.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr const char* macroFilter = ".qmc|*.qmc";
constexpr const char* saveFailedText = "Die Datei konnte nicht gespeichert werden:\n";
constexpr double longestWait = 60000;

}  // namespace

MacroStorage::MacroStorage(MainForm& form) : form_(form) {
    form_.cmd_save.Click.connect([this] { cmd_save_Click(); });
    form_.cmd_save2.Click.connect([this] { cmd_save2_Click(); });
    form_.cmd_load.Click.connect([this] { cmd_load_Click(); });
    form_.cmd_load2.Click.connect([this] { cmd_load2_Click(); });
    form_.lst_code.FilesDropped.connect(
        [this](const std::vector<std::string>& paths) { lst_code_FilesDropped(paths); });
}

void MacroStorage::cmd_save_Click() {
    MainForm& f = form_;
    // Ordinary changes of the boxes: their handlers rewrite record 0 before it is written.
    if (leadingNumber(f.txt_0_wait.text()) < shortestBaseWait) {
        f.txt_0_wait.setText("10");
    }
    if (leadingNumber(f.txt_0_loop.text()) < 0) {
        f.txt_0_loop.setText("0");
    }

    const auto last = static_cast<std::size_t>(std::clamp(f.befehl_anzahl, 0, FormState::lastSlot));
    const std::vector<std::string> records(f.befehl_zeilen.begin(),
                                           f.befehl_zeilen.begin() + last + 1);
    const std::string bytes = encodeMacroFile(records);
    // A file the reader would cut is not written: the old one stays whole.
    if (!withinReadLimits(bytes) || !f.platform.files.replaceFile(f.dateipfad, bytes).ok()) {
        f.platform.dialogs.messageBox(saveFailedText + f.dateipfad, "Pontrel", MessageButtons::Ok,
                                      MessageIcon::Critical);
    }
    f.cmd_load.setEnabled(true);
}

void MacroStorage::cmd_save2_Click() {
    MainForm& f = form_;
    f.comdia_pontrel.filter = macroFilter;
    if (!f.platform.dialogs.showSave(f.comdia_pontrel)) {
        return;
    }
    f.dateipfad = f.comdia_pontrel.fileName;
    cmd_save_Click();
}

void MacroStorage::cmd_load_Click() {
    (void)laden();
}

void MacroStorage::cmd_load2_Click() {
    MainForm& f = form_;
    f.comdia_pontrel.filter = macroFilter;
    if (!f.platform.dialogs.showOpen(f.comdia_pontrel)) {
        return;
    }
    f.dateipfad = f.comdia_pontrel.fileName;
    beginn_lesedatei();
    cmd_load_Click();
}

void MacroStorage::lst_code_FilesDropped(const std::vector<std::string>& paths) {
    if (paths.size() != 1) {
        return;
    }
    form_.dateipfad = paths.front();
    beginn_lesedatei();
    cmd_load_Click();
}

bool MacroStorage::kommandozeile_auswerten() {
    MainForm& f = form_;
    const std::string commandLine = f.platform.environment.commandLine();
    if (namesMacroFile(commandLine)) {
        f.dateipfad = commandLinePath(commandLine);
        return parameter_lesedatei();
    }
    if (f.platform.files.exists(f.dateipfad)) {
        f.cmd_load.setEnabled(true);
        beginn_lesedatei();
    }
    return false;
}

void MacroStorage::beginn_lesedatei() {
    const auto header = kopfzeile();
    if (!header || !isMacroHeader(*header)) {
        return;
    }
    switch (headerDigit(*header, 6)) {
        case 1:
            (void)laden();
            break;
        case 2:
            if (laden()) {
                form_.run.cmd_start_Click();
            }
            break;
        default:
            break;
    }
    form_.options.form_eigenschaften(*header);
}

bool MacroStorage::parameter_lesedatei() {
    const auto header = kopfzeile();
    if (!header || !isMacroHeader(*header)) {
        return false;
    }
    // A macro named on the command line is started whatever its start digit.
    const bool loaded = laden();
    if (loaded) {
        form_.run.cmd_start_Click();
    }
    form_.options.form_eigenschaften(*header);
    return loaded;
}

std::optional<MacroFileText> MacroStorage::lesen() {
    // One byte beyond the limit tells the reader that the file is larger.
    const auto bytes = form_.platform.files.readFile(form_.dateipfad, maxFileBytes + 1);
    if (!bytes) {
        return std::nullopt;
    }
    return decodeMacroFile(*bytes);
}

std::optional<std::string> MacroStorage::kopfzeile() {
    auto text = lesen();
    if (!text) {
        return std::nullopt;
    }
    return std::move(text->header);
}

bool MacroStorage::laden() {
    bool taken = false;
    if (auto text = lesen(); text && text->header) {
        if (!isMacroHeader(*text->header)) {
            form_.dateipfad = std::string(defaultMacroPath);
            return false;
        }
        taken = befehle_uebernehmen(text->lines);
    }
    // Also when nothing was taken over: the current macro is shown again from record 0.
    anzeige_erneuern();
    return taken;
}

bool MacroStorage::befehle_uebernehmen(std::span<const std::string> lines) {
    MainForm& f = form_;
    const SlotAssignment slots = assignSlots(lines);
    // Without record 0 there would be no macro: the current one stays.
    if (slots.commandCount < 0) {
        return false;
    }
    // Slots beyond the stored lines keep what they held.
    std::copy_n(lines.begin(), slots.storedLines, f.befehl_zeilen.begin());
    f.befehl_anzahl = slots.commandCount;
    return true;
}

void MacroStorage::anzeige_erneuern() {
    MainForm& f = form_;
    // The slot after the last record (normally the key line) is decoded too.
    const int lastDecoded = std::min(f.befehl_anzahl + 1, FormState::lastSlot);
    for (int slot = 0; slot <= lastDecoded; ++slot) {
        f.befehl_nr = slot;
        f.records.befehl_aktuellencode();
    }

    // A load during a run leaves the editing controls to the end of the run.
    const bool editing = !f.run.running();
    if (editing) {
        f.lst_code.setEnabled(true);
        f.hsc_befehle.setEnabled(true);
        f.cmd_save.setEnabled(true);
        f.cmd_save2.setEnabled(true);
    }
    f.records.befehlsliste();

    // Not silenced: the scroll bar and the count box react as to a user's change.
    f.hsc_befehle.setMin(0);
    f.hsc_befehle.setValue(0);
    f.lbl_hscaktuell.setCaption("0");
    f.txt_befehle.setText(std::to_string(f.befehl_anzahl));
    // The count box may have corrected the count.
    f.hsc_befehle.setMax(f.befehl_anzahl);
    f.lbl_hscmax.setCaption(std::to_string(f.befehl_anzahl));

    {
        ChangeLock lock(f.aenderung_sperren);
        f.befehl_code = 0;
        f.befehl_nr = 0;
        f.records.befehl_aktuellencode();
        taste_waehlen(f.com_0_startcode, f.befehl_wert3[0]);
        taste_waehlen(f.com_0_abbruchcode, f.befehl_wert4[0]);
        f.txt_0_loop.setText(numberRuleText(f.befehl_wert2[0]));
        const double wait = std::clamp(leadingNumber(f.befehl_wert1[0]), 0.0, longestWait);
        f.txt_0_wait.setText(numberText(wait));

        // Record 0 is always the basic-settings record, whatever code the file gave it.
        f.befehl_code = 0;
        f.composer.schreibebefehl();
    }
    f.panels.codesichtbar();
    if (editing) {
        f.cmd_load.setEnabled(true);
    }
}

void MacroStorage::taste_waehlen(ComboBox& chooser, const std::string& name) {
    // A name the hot-key table lacks selects the first entry ("no", "ESC").
    if (!chooser.setText(name)) {
        chooser.setListIndex(0);
    }
}

}  // namespace pontrel
