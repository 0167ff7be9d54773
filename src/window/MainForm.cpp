#include "window/MainForm.h"

namespace pontrel {

MainForm::MainForm(Platform& platform_) : FormControls(platform_.scheduler), platform(platform_) {
    // As designed: only the basic-settings panel shows; the other panels exist, hidden.
    panels.nur_grundeinstellungen_zeigen();
}

}  // namespace pontrel
