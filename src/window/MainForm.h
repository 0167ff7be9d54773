#pragma once

#include "editor/Composer.h"
#include "editor/Panels.h"
#include "engine/Interpreter.h"
#include "engine/RunControl.h"
#include "engine/SystemActions.h"
#include "model/CommandRecords.h"
#include "model/Lifecycle.h"
#include "model/MacroStorage.h"
#include "platform/Platform.h"
#include "window/FormControls.h"
#include "window/FormState.h"
#include "window/WindowOptions.h"

namespace pontrel {

// The main window frm_pontrel: its controls and window-level state under their design names, and
// the procedures of every subsystem, which reach each other through it. It reaches the operating
// system only through the platform.
class MainForm : public FormControls, public FormState {
public:
    explicit MainForm(Platform& platform);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    Platform& platform;

    CommandRecords records{*this};
    Lifecycle lifecycle{*this};
    MacroStorage storage{*this};
    RunControl run{*this};
    Interpreter interpreter{*this};
    SystemActions system{*this};
    Panels panels{*this};
    Composer composer{*this};
    WindowOptions options{*this};
};

}  // namespace pontrel
