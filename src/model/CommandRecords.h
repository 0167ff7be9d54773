#pragma once

namespace pontrel {

class MainForm;

// Reading a record into its fields and showing the record list.
class CommandRecords {
public:
    explicit CommandRecords(MainForm& form);

    // Reads the record in slot befehl_nr into its parsed fields and befehl_code.
    void befehl_aktuellencode();
    // Rebuilds the lines of lst_code and selects the current command.
    void befehlsliste();

private:
    MainForm& form_;
};

}  // namespace pontrel
