#pragma once

#include <string>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// An image control showing one of the program's pictures, named by a resource id.
class Image : public Control {
public:
    using Control::Control;

    const std::string& picture() const { return picture_; }
    void setPicture(const std::string& picture) {
        if (picture_ != picture) {
            picture_ = picture;
            changed();
        }
    }

    void click() { Click(); }

    Event<> Click;

private:
    std::string picture_;
};

}  // namespace pontrel
