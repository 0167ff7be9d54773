#pragma once

#include <string>

namespace pontrel {

class MainForm;

// Reading a record into its fields and showing the record list.
class CommandRecords {
public:
    explicit CommandRecords(MainForm& form);

    // Reads the record in slot befehl_nr into its parsed fields and befehl_code.
    void befehl_aktuellencode();
    // The upper bound of the wait record in slot befehl_nr: its second value, or its first when it
    // has none (it then waits exactly that long), never a value the slot kept from an earlier
    // record.
    std::string& zufallszeit_bis();
    // Rebuilds the lines of lst_code and selects the current command.
    void befehlsliste();

private:
    MainForm& form_;
};

}  // namespace pontrel
