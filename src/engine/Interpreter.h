#pragma once

namespace pontrel {

class MainForm;

// One command per firing of the step timer: the record at befehl_nr is read, shown and
// performed, the wait before the next step is set, and the step timer disarmed.
class Interpreter {
public:
    explicit Interpreter(MainForm& form);

    void Timer_start_Timer();

    // True while a step runs; a step that opens a message box runs a nested event loop, and no new
    // run may start inside it.
    bool stepInProgress() const { return stepInProgress_; }

private:
    void perform();
    void randomWait();

    MainForm& form_;
    bool stepInProgress_ = false;
};

}  // namespace pontrel
