#pragma once

namespace pontrel {

class MainForm;

// The file dialogs of the program panel and the screenshot panel.
class PathPickers {
public:
    explicit PathPickers(MainForm& form);

    void cmd_6_pfad_Click();
    void cmd_9_pfad_Click();

private:
    MainForm& form_;
};

}  // namespace pontrel
