#pragma once

namespace pontrel {

class MainForm;

// Starting and stopping a run, the advance loop and the two hot keys.
class RunControl {
public:
    explicit RunControl(MainForm& form);

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
};

}  // namespace pontrel
