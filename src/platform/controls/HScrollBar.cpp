#include "platform/controls/HScrollBar.h"

#include <algorithm>

namespace pontrel {

void HScrollBar::setMin(int min) {
    if (min_ == min) {
        return;
    }
    min_ = min;
    changed();
    if (value_ < min_) {
        setValue(min_);
    }
}

void HScrollBar::setMax(int max) {
    if (max_ == max) {
        return;
    }
    max_ = max;
    changed();
    if (value_ > max_) {
        setValue(max_);
    }
}

void HScrollBar::setValue(int value) {
    const int clamped = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (value_ == clamped) {
        return;
    }
    value_ = clamped;
    changed();
    Change();
}

}  // namespace pontrel
