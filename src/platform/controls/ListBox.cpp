#include "platform/controls/ListBox.h"

#include <algorithm>
#include <utility>

namespace pontrel {

void ListBox::clear() {
    if (items_.empty()) {
        return;
    }
    items_.clear();
    selected_.clear();
    listIndex_ = -1;
    ++itemsRevision_;
    changed();
}

void ListBox::addItem(const std::string& item) {
    items_.push_back(item);
    selected_.push_back(false);
    ++itemsRevision_;
    changed();
}

void ListBox::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    selected_.assign(items_.size(), false);
    listIndex_ = -1;
    ++itemsRevision_;
    changed();
}

bool ListBox::selected(int index) const {
    return index >= 0 && index < listCount() && selected_[static_cast<std::size_t>(index)];
}

void ListBox::setSelected(int index, bool selected) {
    if (index < 0 || index >= listCount()) {
        return;
    }
    const bool moved = selected && listIndex_ != index;
    if (selected_[static_cast<std::size_t>(index)] == selected && !moved) {
        return;
    }
    selected_[static_cast<std::size_t>(index)] = selected;
    if (selected) {
        listIndex_ = index;
    }
    changed();
}

int ListBox::selCount() const {
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

std::vector<std::pair<int, int>> ListBox::selectedRuns(int rows) const {
    std::vector<std::pair<int, int>> runs;
    const int end = std::min(rows, listCount());
    for (int row = 0; row < end;) {
        if (!selected_[static_cast<std::size_t>(row)]) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < end && selected_[static_cast<std::size_t>(row)]) {
            ++row;
        }
        runs.emplace_back(first, row - 1);
    }
    return runs;
}

void ListBox::applyUserSelection(const std::vector<bool>& selection, int listIndex) {
    if (selection.size() == selected_.size()) {
        selected_ = selection;
    }
    listIndex_ = listIndex >= -1 && listIndex < listCount() ? listIndex : -1;
    changed();
}

}  // namespace pontrel
