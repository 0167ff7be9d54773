#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace pontrel {

class Control;

// What a view of the controls still has to catch up with: the form itself and each mirrored
// control that changed. The first change after a catch-up queues the next one (once per turn of
// the event loop, through queueFlush), so many changes cost one update of the widgets.
class PendingSync {
public:
    PendingSync(const Control& form, std::function<void()> queueFlush);

    // Registers the next mirrored control; its index counts from 0 in registration order.
    std::size_t add(const Control& control);
    std::optional<std::size_t> indexOf(const Control& control) const;

    // Notes a change of the form or of a mirrored control; anything else is ignored.
    void mark(const Control& control);

    // Runs syncForm when the form changed, then syncView for every changed control, in order.
    void flush(const std::function<void()>& syncForm,
               const std::function<void(std::size_t)>& syncView);

private:
    const Control& form_;
    std::function<void()> queueFlush_;
    bool queued_ = false;
    bool formChanged_ = false;
    std::map<const Control*, std::size_t> index_;
    std::vector<bool> changed_;
};

}  // namespace pontrel
