#pragma once

#include <string>

namespace pontrel {

class MainForm;

// The commands that act as the user would: pointer move, click, typed text and the count-up
// counter. Each works on the record at befehl_nr.
class InputActions {
public:
    explicit InputActions(MainForm& form);

    // Mouse buttons: 0 left, 1 right, 2 middle; any other number sends nothing.
    void MouseDown(int MouseButton);
    void MouseUp(int MouseButton);
    void MouseClick(int MouseButton);

    void movePointer();
    void clickButton();
    void typeText();
    void countUp();

    // zaehler_wert as the counter is written, with the locale's decimal separator.
    std::string counterText() const;

private:
    MainForm& form_;
};

}  // namespace pontrel
