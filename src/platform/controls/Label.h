#pragma once

#include <string>

#include "platform/controls/Control.h"

namespace pontrel {

class Label : public Control {
public:
    using Control::Control;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption) {
        if (caption_ != caption) {
            caption_ = caption;
            changed();
        }
    }

private:
    std::string caption_;
};

}  // namespace pontrel
