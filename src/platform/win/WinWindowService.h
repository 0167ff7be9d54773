#pragma once

#include <windows.h>

#include "platform/WindowService.h"

namespace pontrel {

// Opacity, topmost band, frame and pop-up menu of the main window, once it exists.
class WinWindowService : public WindowService {
public:
    void setWindow(HWND window) { window_ = window; }

    Status setOpacity(int alpha) override;
    Status setTopmost(bool topmost) override;
    Rect frameRect() override;
    bool isActive() override;
    int twipsPerPixelX() override;
    int twipsPerPixelY() override;
    void popupMenu(Menu& menu) override;

private:
    HWND window_ = nullptr;
};

// 1440 / logical DPI of the screen in that direction (LOGPIXELSX or LOGPIXELSY).
int twipsPerPixel(int logicalPixelsIndex);

}  // namespace pontrel
