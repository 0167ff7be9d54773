#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/MacroFile.h"

namespace pontrel {

class ComboBox;
class MainForm;

// Saving and loading macro files: the two save and two load buttons, a file dropped onto the
// command list, the command line and the default file.
class MacroStorage {
public:
    explicit MacroStorage(MainForm& form);

    // Writes the macro to dateipfad, replacing the file as a whole.
    void cmd_save_Click();
    // Asks for a path, remembers it and saves there.
    void cmd_save2_Click();
    // Reads the macro from dateipfad into the window.
    void cmd_load_Click();
    // Asks for a path, remembers it, applies its header options and loads it.
    void cmd_load2_Click();
    // One dropped file is opened like a file chosen with cmd_load2.
    void lst_code_FilesDropped(const std::vector<std::string>& paths);

    // Examines the command line; true when it named a macro file that was loaded (and started).
    // Otherwise the default file's header options are applied when it exists.
    bool kommandozeile_auswerten();
    // Applies the header of the file at dateipfad: its start digit and its window options.
    void beginn_lesedatei();
    // Loads and starts the file at dateipfad and applies its window options; true when loaded.
    bool parameter_lesedatei();

private:
    // Load; true when the file's records were taken over.
    bool laden();
    // The file at dateipfad as lines; nothing when it cannot be opened.
    std::optional<MacroFileText> lesen();
    // The first line of the file at dateipfad; nothing when it cannot be read or is empty.
    std::optional<std::string> kopfzeile();
    // Stores the lines of a file into the record slots; false when they hold no record.
    bool befehle_uebernehmen(std::span<const std::string> lines);
    // Decodes the records, rebuilds the display and refills the basic-settings panel.
    void anzeige_erneuern();
    static void taste_waehlen(ComboBox& chooser, const std::string& name);

    MainForm& form_;
};

}  // namespace pontrel
