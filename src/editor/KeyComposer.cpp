#include "editor/KeyComposer.h"

#include <string>

#include "editor/SpecialKeys.h"
#include "window/MainForm.h"

namespace pontrel {

KeyComposer::KeyComposer(MainForm& form) : form_(form) {
    form_.com_4_eingabebefehl.Click.connect([this] { com_4_eingabebefehl_Click(); });
}

void KeyComposer::com_4_eingabebefehl_Click() {
    MainForm& f = form_;
    const int entry = f.com_4_eingabebefehl.listIndex();
    // Entry 0 is the prompt. The token goes to the end, wherever the caret stands.
    if (entry >= 1 && entry < static_cast<int>(specialKeys.size())) {
        f.txt_4_eingabetext.setText(
            f.txt_4_eingabetext.text() +
            std::string(specialKeys[static_cast<std::size_t>(entry)].token));
    }
    // The chooser's next tick puts this box back on the prompt, so the same key can be picked
    // again.
    f.Timer_combobox.setEnabled(true);
}

}  // namespace pontrel
