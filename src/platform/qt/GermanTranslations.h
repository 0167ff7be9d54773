#pragma once

#include <QTranslator>

namespace pontrel {

// Qt's own texts (file dialogs, message box buttons, text box menus) in German, as the rest of
// the window, whatever the user's locale. Installed for as long as it lives; where the
// translation files are missing, Qt's English texts stay, and nothing is said.
class GermanTranslations {
public:
    GermanTranslations();
    ~GermanTranslations();
    GermanTranslations(const GermanTranslations&) = delete;
    GermanTranslations& operator=(const GermanTranslations&) = delete;

    bool loaded() const { return loaded_; }

private:
    QTranslator translator_;
    bool loaded_ = false;
};

}  // namespace pontrel
