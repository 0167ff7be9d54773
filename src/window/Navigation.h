#pragma once

namespace pontrel {

class MainForm;

// The count box with its two arrows and the scroll bar that moves through all commands.
class Navigation {
public:
    explicit Navigation(MainForm& form);

    // Sets the number of commands in its four places, in this order: the count box, the scroll
    // bar's maximum, the label under it and befehl_anzahl.
    void anzahl_setzen(int anzahl);

private:
    void img_befehl_left_Click();
    void img_befehl_right_Click();
    void txt_befehle_Change();
    void txt_befehle_LostFocus();
    void hsc_befehle_Change();
    // The count the arrows step from: the box's value, or the count itself while the box holds
    // no usable value (emptied and not yet left).
    int arrowBase() const;

    MainForm& form_;
};

}  // namespace pontrel
