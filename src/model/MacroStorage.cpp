#include "model/MacroStorage.h"

#include "window/MainForm.h"

namespace pontrel {

MacroStorage::MacroStorage(MainForm& form) : form_(form) {}

bool MacroStorage::kommandozeile_auswerten() {
    if (form_.platform.files.exists(form_.dateipfad)) {
        form_.cmd_load.setEnabled(true);
        beginn_lesedatei();
    }
    return false;
}

void MacroStorage::beginn_lesedatei() {}

void MacroStorage::parameter_lesedatei() {}

}  // namespace pontrel
