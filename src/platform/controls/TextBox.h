#pragma once

#include <string>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// A single-line text box. Setting the text raises Change synchronously, as typing does, and only
// when the text differs. The maximum length limits typing only (the view enforces it); text set
// by the program is never cut.
class TextBox : public Control {
public:
    using Control::Control;

    const std::string& text() const { return text_; }
    void setText(const std::string& text);

    int maxLength() const { return maxLength_; }
    void setMaxLength(int characters) { maxLength_ = characters; }

    // Focus changes reported by the view.
    void gotFocus() { GotFocus(); }
    void lostFocus() { LostFocus(); }

    Event<> Change;
    Event<> GotFocus;
    Event<> LostFocus;

private:
    std::string text_;
    int maxLength_ = 0;  // 0: unlimited
};

}  // namespace pontrel
