#pragma once

#include "platform/DialogService.h"

class QWidget;

namespace pontrel {

// Message boxes, file dialogs and the point picker, modal to the main window once it is attached.
class QtDialogs : public DialogService {
public:
    void attach(QWidget* window) { window_ = window; }

    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons, MessageIcon icon) override;
    bool showOpen(CommonDialog& dialog) override;
    bool showSave(CommonDialog& dialog) override;
    bool offersPointPicker() override { return true; }
    std::optional<ScreenPoint> pickPoint(const Bitmap& screen) override;

private:
    QWidget* window_ = nullptr;
};

}  // namespace pontrel
