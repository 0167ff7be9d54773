#pragma once

#include <string_view>

#include "editor/Composer.h"
#include "editor/KeyComposer.h"
#include "editor/Panels.h"
#include "editor/PathPickers.h"
#include "engine/InputActions.h"
#include "engine/Interpreter.h"
#include "engine/RunControl.h"
#include "engine/ScreenActions.h"
#include "engine/SystemActions.h"
#include "model/CommandRecords.h"
#include "model/Lifecycle.h"
#include "model/MacroStorage.h"
#include "platform/Platform.h"
#include "window/BasicSettings.h"
#include "window/FormControls.h"
#include "window/FormState.h"
#include "window/ListEditing.h"
#include "window/Navigation.h"
#include "window/PointerDisplay.h"
#include "window/Recording.h"
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

    // Where the design passes over a failed platform action (the run goes on, the window shows
    // nothing), a failure still leaves a line with what and why in the log.
    void logIgnoredFailure(std::string_view what, const Status& status);

    CommandRecords records{*this};
    Lifecycle lifecycle{*this};
    MacroStorage storage{*this};
    RunControl run{*this};
    Interpreter interpreter{*this};
    SystemActions system{*this};
    InputActions input{*this};
    ScreenActions screen{*this};
    Panels panels{*this};
    Composer composer{*this};
    KeyComposer keyComposer{*this};
    PathPickers pickers{*this};
    WindowOptions options{*this};
    PointerDisplay pointerDisplay{*this};
    BasicSettings settings{*this};
    Navigation navigation{*this};
    ListEditing list{*this};
    Recording recording{*this};
};

}  // namespace pontrel
