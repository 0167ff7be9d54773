#pragma once

namespace pontrel {

class MainForm;

// The window's life: start-up, the new macro ("Neu") and closing.
class Lifecycle {
public:
    explicit Lifecycle(MainForm& form);

    // Start-up; the window is shown when it ends.
    void Form_Load();
    void cmd_neu_Click();
    void Form_Unload();

private:
    MainForm& form_;
};

}  // namespace pontrel
