#include "platform/controls/CheckBox.h"

namespace pontrel {

void CheckBox::setValue(int value) {
    const int normalised = value != 0 ? 1 : 0;
    if (value_ == normalised) {
        return;
    }
    value_ = normalised;
    changed();
    Click();
}

}  // namespace pontrel
