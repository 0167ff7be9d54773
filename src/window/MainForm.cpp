#include "window/MainForm.h"

#include <string>

namespace pontrel {

MainForm::MainForm(Platform& platform_) : FormControls(platform_.scheduler), platform(platform_) {
    // As designed: only the basic-settings panel shows; the other panels exist, hidden.
    panels.nur_grundeinstellungen_zeigen();
}

void MainForm::logIgnoredFailure(std::string_view what, const Status& status) {
    if (!status.ok()) {
        platform.environment.writeLog("Pontrel: " + std::string(what) +
                                      " ohne Wirkung: " + status.message());
    }
}

}  // namespace pontrel
