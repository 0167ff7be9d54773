#pragma once

namespace pontrel {

class MainForm;

// The special-key chooser of the keyboard panel: appends the picked key's token to the text.
class KeyComposer {
public:
    explicit KeyComposer(MainForm& form);

    void com_4_eingabebefehl_Click();

private:
    MainForm& form_;
};

}  // namespace pontrel
