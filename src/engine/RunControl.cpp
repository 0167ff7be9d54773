#include "engine/RunControl.h"

#include "window/MainForm.h"

namespace pontrel {

RunControl::RunControl(MainForm& form) : form_(form) {}

void RunControl::cmd_start_Click() {}

void RunControl::start_stop() {}

bool RunControl::running() const {
    return form_.Timer_startloop.enabled();
}

}  // namespace pontrel
