#pragma once

namespace pontrel {

class MainForm;

// Program start, PC commands, the CD tray and the drive discovery.
class SystemActions {
public:
    explicit SystemActions(MainForm& form);

    void laufwerke_suchen();

private:
    MainForm& form_;
};

}  // namespace pontrel
