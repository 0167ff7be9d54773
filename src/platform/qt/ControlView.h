#pragma once

#include <memory>

#include "platform/controls/Control.h"
#include "platform/controls/Rect.h"

class QColor;
class QWidget;

namespace pontrel {

// What a control's view needs of the window that holds it.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    // The control's widget is to be brought up to date on the next flush.
    virtual void markDirty(const Control& control) = 0;
    // Brings every widget up to date now, before a user's action is read from one.
    virtual void flushPending() = 0;
};

// One control mirrored into one widget. The host keeps enabled, visible, the tool tip and
// geometry in step;
// the view the rest, and it feeds the user's actions back into the control.
class ControlView {
public:
    virtual ~ControlView() = default;

    virtual QWidget* widget() = 0;
    // Called with the widget's signals blocked.
    virtual void sync() = 0;
};

// A colour of the controls (0x00BBGGRR) as Qt's.
QColor toQColor(Colour colour);

// The view for a control of any kind the window shows; nothing for a kind it does not show.
std::unique_ptr<ControlView> makeControlView(Control& control, ViewHost& host, QWidget* parent);

}  // namespace pontrel
