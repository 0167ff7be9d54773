#pragma once

#include <string>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// A drop-down list: the text is always one of the items (or empty when none is selected).
// Selecting another item, by the user or by setting the text to a listed item, raises Click.
class ComboBox : public Control {
public:
    using Control::Control;

    void clear();
    void addItem(const std::string& item);
    void setItems(const std::vector<std::string>& items);
    const std::vector<std::string>& items() const { return items_; }
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }

    int listIndex() const { return listIndex_; }
    void setListIndex(int index);

    std::string text() const;
    // Selects the item with this text; returns false (and changes nothing) when none is listed.
    bool setText(const std::string& text);

    Event<> Click;

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

}  // namespace pontrel
