#pragma once

namespace pontrel {

class MainForm;

// Composing the record of the current command from its panel.
class Composer {
public:
    explicit Composer(MainForm& form);

    void schreibebefehl();

private:
    MainForm& form_;
};

}  // namespace pontrel
