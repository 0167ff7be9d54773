#pragma once

#include <string>
#include <string_view>

#include <windows.h>

#include "platform/DialogService.h"

namespace pontrel {

// The classic filter "description|pattern|description|pattern" as the common file dialog takes
// it: every part ended by a NUL, the whole by a second NUL. A description without a pattern at
// the end is left out.
std::wstring win32FileFilter(std::string_view classic);

// MessageBox and the common file dialogs, owned by the main window once it exists.
class WinDialogs : public DialogService {
public:
    void setOwner(HWND owner) { owner_ = owner; }

    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons, MessageIcon icon) override;
    bool showOpen(CommonDialog& dialog) override;
    bool showSave(CommonDialog& dialog) override;

private:
    bool show(CommonDialog& dialog, bool save);

    HWND owner_ = nullptr;
};

}  // namespace pontrel
