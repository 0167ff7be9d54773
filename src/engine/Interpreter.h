#pragma once

namespace pontrel {

class MainForm;

// One command per firing of the step timer.
class Interpreter {
public:
    explicit Interpreter(MainForm& form);

    void Timer_start_Timer();

private:
    MainForm& form_;
};

}  // namespace pontrel
