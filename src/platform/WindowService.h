#pragma once

#include "platform/Status.h"
#include "platform/controls/Menu.h"
#include "platform/controls/Rect.h"

namespace pontrel {

// What the form needs of its real window beyond the mirrored controls.
class WindowService {
public:
    virtual ~WindowService() = default;

    // 0 (invisible) to 255 (opaque). Without a compositor the window stays opaque.
    virtual Status setOpacity(int alpha) = 0;
    virtual Status setTopmost(bool topmost) = 0;
    // The window's frame on the screen, in screen pixels.
    virtual Rect frameRect() = 0;
    // Whether the window has the keyboard focus (keys go to it).
    virtual bool isActive() = 0;
    virtual int twipsPerPixelX() = 0;
    virtual int twipsPerPixelY() = 0;
    // Shows the menu at the pointer; a chosen entry raises its Click before this returns.
    virtual void popupMenu(Menu& menu) = 0;
};

}  // namespace pontrel
