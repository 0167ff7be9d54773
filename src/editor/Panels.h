#pragma once

namespace pontrel {

class MainForm;

// Showing the panel of the current command and taking over list clicks.
class Panels {
public:
    explicit Panels(MainForm& form);

    void codesichtbar();
    void codebox_auswahlclick();

private:
    MainForm& form_;
};

}  // namespace pontrel
