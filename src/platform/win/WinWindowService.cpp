#include "platform/win/WinWindowService.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/win/WideText.h"

namespace pontrel {

namespace {

constexpr double twipsPerInch = 1440.0;

Status noWindow() {
    return Status::failure("no window");
}

}  // namespace

int twipsPerPixel(int logicalPixelsIndex) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, logicalPixelsIndex);
    ReleaseDC(nullptr, screen);
    return std::max(1, static_cast<int>(std::lround(twipsPerInch / (dpi > 0 ? dpi : 96))));
}

Status WinWindowService::setOpacity(int alpha) {
    if (window_ == nullptr) {
        return noWindow();
    }
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    if ((style & WS_EX_LAYERED) == 0) {
        SetWindowLongPtrW(window_, GWL_EXSTYLE, style | WS_EX_LAYERED);
    }
    if (!SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)),
                                    LWA_ALPHA)) {
        return Status::failure(lastErrorText("SetLayeredWindowAttributes"));
    }
    return Status::success();
}

Status WinWindowService::setTopmost(bool topmost) {
    if (window_ == nullptr) {
        return noWindow();
    }
    if (!SetWindowPos(window_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE)) {
        return Status::failure(lastErrorText("SetWindowPos"));
    }
    return Status::success();
}

Rect WinWindowService::frameRect() {
    RECT frame{};
    if (window_ == nullptr || !GetWindowRect(window_, &frame)) {
        return {};
    }
    return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

bool WinWindowService::isActive() {
    return window_ != nullptr && GetForegroundWindow() == window_;
}

int WinWindowService::twipsPerPixelX() {
    return twipsPerPixel(LOGPIXELSX);
}

int WinWindowService::twipsPerPixelY() {
    return twipsPerPixel(LOGPIXELSY);
}

void WinWindowService::popupMenu(Menu& menu) {
    HMENU popup = CreatePopupMenu();
    std::vector<MenuItem*> entries;
    for (MenuItem* item : menu.items()) {
        if (!item->visible()) {
            continue;
        }
        if (item->isSeparator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        // After a tab the menu shows the shortcut right-aligned, without making it one.
        std::string text = item->caption();
        if (!item->shortcut().empty()) {
            text += '\t' + item->shortcut();
        }
        entries.push_back(item);
        AppendMenuW(popup, MF_STRING | (item->enabled() ? MF_ENABLED : MF_GRAYED), entries.size(),
                    widen(text).c_str());
    }
    POINT at{};
    GetCursorPos(&at);
    if (window_ != nullptr) {
        SetForegroundWindow(window_);  // so that a click elsewhere closes the menu
    }
    const auto chosen = static_cast<std::size_t>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x,
                       at.y, 0, window_, nullptr));
    DestroyMenu(popup);
    if (chosen >= 1 && chosen <= entries.size()) {
        entries[chosen - 1]->click();
    }
}

}  // namespace pontrel
