#pragma once

#include <string>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

class Button : public Control {
public:
    using Control::Control;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption) {
        if (caption_ != caption) {
            caption_ = caption;
            changed();
        }
    }

    // A click by the user or by the program.
    void click() { Click(); }

    Event<> Click;

private:
    std::string caption_;
};

}  // namespace pontrel
