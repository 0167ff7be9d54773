#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/MouseButton.h"
#include "platform/controls/Control.h"
#include "platform/controls/Event.h"

namespace pontrel {

// A list box with extended multiple selection (click, Shift+click, Ctrl+click). The view applies a
// user's click to the selection first and raises MouseDown afterwards, so the handler already
// sees the selection the click made.
class ListBox : public Control {
public:
    using Control::Control;

    void clear();
    void addItem(const std::string& item);
    // The same as clear() followed by addItem() for each line, told to the view once.
    void setItems(std::vector<std::string> items);
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& items() const { return items_; }

    bool selected(int index) const;
    // Selecting a row also makes it the current row (the list index).
    void setSelected(int index, bool selected);
    int selCount() const;
    const std::vector<bool>& selection() const { return selected_; }
    // The selected rows below `rows` as runs of neighbours: first and last row of each run.
    std::vector<std::pair<int, int>> selectedRuns(int rows) const;

    int listIndex() const { return listIndex_; }

    // The selection and current row after a user's click or key, applied by the view.
    void applyUserSelection(const std::vector<bool>& selection, int listIndex);

    // Grows with every change of the items, so a view rebuilds its rows only when needed.
    std::uint64_t itemsRevision() const { return itemsRevision_; }

    Event<MouseButton> MouseDown;
    Event<int> KeyUp;     // virtual-key code
    Event<int> KeyPress;  // character code (1 for Ctrl+A, 3 for Ctrl+C, ...)
    Event<> DblClick;
    Event<const std::vector<std::string>&> FilesDropped;

private:
    std::vector<std::string> items_;
    std::vector<bool> selected_;
    int listIndex_ = -1;
    std::uint64_t itemsRevision_ = 0;
};

}  // namespace pontrel
