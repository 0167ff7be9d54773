#pragma once

#include "platform/DialogService.h"

class QWidget;

namespace pontrel {

// Message boxes and file dialogs, modal to the main window once it is attached.
class QtDialogs : public DialogService {
public:
    void attach(QWidget* window) { window_ = window; }

    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons, MessageIcon icon) override;
    bool showOpen(CommonDialog& dialog) override;
    bool showSave(CommonDialog& dialog) override;

private:
    QWidget* window_ = nullptr;
};

}  // namespace pontrel
