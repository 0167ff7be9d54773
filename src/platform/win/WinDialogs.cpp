#include "platform/win/WinDialogs.h"

#include <commdlg.h>

#include <vector>

#include "platform/win/WideText.h"

namespace pontrel {

namespace {

constexpr wchar_t defaultTitle[] = L"Pontrel";
// Room for long paths; the dialog reports a longer choice as an error (a cancel here).
constexpr std::size_t fileNameCapacity = 32768;

UINT iconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::Critical:
            return MB_ICONERROR;
        case MessageIcon::None:
            break;
    }
    return 0;
}

}  // namespace

std::wstring win32FileFilter(std::string_view classic) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (!classic.empty()) {
        const std::size_t bar = classic.find('|', start);
        parts.push_back(classic.substr(start, bar - start));
        if (bar == std::string_view::npos) {
            break;
        }
        start = bar + 1;
    }
    std::wstring filter;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        filter += widen(parts[i]);
        filter += L'\0';
        filter += widen(parts[i + 1]);
        filter += L'\0';
    }
    if (!filter.empty()) {
        filter += L'\0';
    }
    return filter;
}

MessageAnswer WinDialogs::messageBox(const std::string& text, const std::string& title,
                                     MessageButtons buttons, MessageIcon icon) {
    const std::wstring caption = title.empty() ? std::wstring(defaultTitle) : widen(title);
    const bool yesNo = buttons == MessageButtons::YesNo;
    const int answer = MessageBoxW(owner_, widen(text).c_str(), caption.c_str(),
                                   (yesNo ? MB_YESNO : MB_OK) | iconStyle(icon));
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

bool WinDialogs::showOpen(CommonDialog& dialog) {
    return show(dialog, false);
}

bool WinDialogs::showSave(CommonDialog& dialog) {
    return show(dialog, true);
}

bool WinDialogs::show(CommonDialog& dialog, bool save) {
    const std::wstring filter = win32FileFilter(dialog.filter);
    std::wstring fileName = widen(dialog.fileName);
    fileName.resize(fileNameCapacity, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner_;
    request.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = fileName.data();
    request.nMaxFile = static_cast<DWORD>(fileName.size());
    // The current directory is where the macro file is looked for: a dialog must not move it.
    // Saving over a file asks nothing, as everywhere else in the program.
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const BOOL chosen = save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request);
    if (!chosen) {
        return false;  // cancelled: the file name stays as it was
    }
    fileName.resize(fileName.find(L'\0'));
    dialog.fileName = narrow(fileName);
    return true;
}

}  // namespace pontrel
