#pragma once

namespace pontrel {

class MainForm;

// Starting and stopping a run, the advance loop and the two hot keys.
class RunControl {
public:
    explicit RunControl(MainForm& form);

    void cmd_start_Click();
    void start_stop();
    bool running() const;

private:
    MainForm& form_;
};

}  // namespace pontrel
