#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// A check box with the value 0 or 1. Setting a different value raises Click, as a click does.
class CheckBox : public Control {
public:
    using Control::Control;

    int value() const { return value_; }
    void setValue(int value);

    Event<> Click;

private:
    int value_ = 0;
};

}  // namespace pontrel
