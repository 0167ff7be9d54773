#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// A horizontal scroll bar. A new value, set by the user or by the program, raises Change;
// lowering the maximum below the value clamps the value and raises Change too.
class HScrollBar : public Control {
public:
    using Control::Control;

    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    void setMin(int min);
    void setMax(int max);
    void setValue(int value);

    Event<> Change;

private:
    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
};

}  // namespace pontrel
