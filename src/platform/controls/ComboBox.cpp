#include "platform/controls/ComboBox.h"

#include <algorithm>

namespace pontrel {

void ComboBox::clear() {
    if (items_.empty() && listIndex_ == -1) {
        return;
    }
    items_.clear();
    listIndex_ = -1;
    changed();
}

void ComboBox::addItem(const std::string& item) {
    items_.push_back(item);
    changed();
}

void ComboBox::setItems(const std::vector<std::string>& items) {
    items_ = items;
    listIndex_ = -1;
    changed();
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= listCount() || index == listIndex_) {
        return;
    }
    listIndex_ = index;
    changed();
    Click();
}

std::string ComboBox::text() const {
    return listIndex_ < 0 ? std::string() : item(listIndex_);
}

bool ComboBox::setText(const std::string& text) {
    const auto found = std::find(items_.begin(), items_.end(), text);
    if (found == items_.end()) {
        return false;
    }
    setListIndex(static_cast<int>(found - items_.begin()));
    return true;
}

}  // namespace pontrel
