#include "platform/controls/TextBox.h"

namespace pontrel {

void TextBox::setText(const std::string& text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    changed();
    Change();
}

}  // namespace pontrel
