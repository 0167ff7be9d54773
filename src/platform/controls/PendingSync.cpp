#include "platform/controls/PendingSync.h"

#include <utility>

namespace pontrel {

PendingSync::PendingSync(const Control& form, std::function<void()> queueFlush)
    : form_(form), queueFlush_(std::move(queueFlush)) {}

std::size_t PendingSync::add(const Control& control) {
    const std::size_t index = changed_.size();
    index_.emplace(&control, index);
    changed_.push_back(false);
    return index;
}

std::optional<std::size_t> PendingSync::indexOf(const Control& control) const {
    const auto found = index_.find(&control);
    return found == index_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

void PendingSync::mark(const Control& control) {
    if (&control == &form_) {
        formChanged_ = true;
    } else if (const auto index = indexOf(control)) {
        changed_[*index] = true;
    } else {
        return;
    }
    if (!queued_) {
        queued_ = true;
        queueFlush_();
    }
}

void PendingSync::flush(const std::function<void()>& syncForm,
                        const std::function<void(std::size_t)>& syncView) {
    queued_ = false;
    if (std::exchange(formChanged_, false)) {
        syncForm();
    }
    for (std::size_t i = 0; i < changed_.size(); ++i) {
        if (changed_[i]) {
            changed_[i] = false;
            syncView(i);
        }
    }
}

}  // namespace pontrel
