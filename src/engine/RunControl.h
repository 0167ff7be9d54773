#pragma once

#include <memory>

namespace pontrel {

class MainForm;

// Starting and stopping a run, the advance loop and the two hot keys.
class RunControl {
public:
    explicit RunControl(MainForm& form);
    ~RunControl();
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    void cmd_start_Click();
    // Ends a run and gives the editor back. Its result is not used by any caller.
    void start_stop();
    bool running() const;

    void Timer_befehlstart_Timer();
    void Timer_befehlstop_Timer();
    void Timer_startloop_Timer();

private:
    void startRun();
    // Locks (false) or unlocks (true) the controls that edit the macro.
    void setEditing(bool enabled);

    MainForm& form_;
    // The key state tells of every key change: the start key is read only then.
    bool keyChangesWatched_ = false;
    // Work posted for a key change finds out through this whether the form is still there.
    std::shared_ptr<RunControl*> self_ = std::make_shared<RunControl*>(this);
};

}  // namespace pontrel
