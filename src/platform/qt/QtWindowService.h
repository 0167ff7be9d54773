#pragma once

#include "platform/WindowService.h"

class QWidget;

namespace pontrel {

// Window effects, frame geometry and the pop-up menu of the main window once it is attached.
class QtWindowService : public WindowService {
public:
    void attach(QWidget* window) { window_ = window; }

    // Needs a compositor to be seen; without one the window stays opaque, which is no error.
    Status setOpacity(int alpha) override;
    Status setTopmost(bool topmost) override;
    Rect frameRect() override;
    bool isActive() override;
    // 1440 / logical DPI of the primary screen (15 at 96 DPI).
    int twipsPerPixelX() override;
    int twipsPerPixelY() override;
    void popupMenu(Menu& menu) override;

private:
    QWidget* window_ = nullptr;
};

}  // namespace pontrel
