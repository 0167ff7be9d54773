#pragma once

#include <string>

#include "platform/controls/Control.h"

namespace pontrel {

class Frame : public Control {
public:
    using Control::Control;

    Colour backColour() const { return backColour_; }
    void setBackColour(Colour colour) {
        if (backColour_ != colour) {
            backColour_ = colour;
            changed();
        }
    }

private:
    Colour backColour_ = 0xFFFFFF;
};

}  // namespace pontrel
