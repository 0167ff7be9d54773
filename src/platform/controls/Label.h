#pragma once

#include <string>

#include "platform/controls/Control.h"

namespace pontrel {

// How a label looks beyond plain text: the two title lines on the title picture, a caption set
// flush right, a bold question.
enum class LabelStyle { plain, title, titleVersion, flushRight, bold };

class Label : public Control {
public:
    using Control::Control;

    // Taken by a view when it is made; set before the window is built.
    LabelStyle style() const { return style_; }
    void setStyle(LabelStyle style) { style_ = style; }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption) {
        if (caption_ != caption) {
            caption_ = caption;
            changed();
        }
    }

private:
    std::string caption_;
    LabelStyle style_ = LabelStyle::plain;
};

}  // namespace pontrel
