#include "platform/wayland/PolledKeyBindings.h"

#include "platform/InputService.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// A key not queried for this long is given back to the other programs; long enough that the
// polls of a busy program never let it go in between.
constexpr auto unbindAfter = 1s;
// How long an announced press of our own typing waits for its binding event.
constexpr auto announcementLifetime = 1s;

}  // namespace

PolledKeyBindings::PolledKeyBindings(Binder binder) : binder_(std::move(binder)) {}

std::uint16_t PolledKeyBindings::query(int virtualKey) {
    if (virtualKey <= 0 || virtualKey >= keyCount) {
        return 0;
    }
    const std::lock_guard lock(mutex_);
    lastQuery_[virtualKey] = Clock::now();
    if (!bound_[virtualKey]) {
        bound_[virtualKey] = binder_.bind(virtualKey);
        if (!bound_[virtualKey]) {
            return 0;
        }
    }
    std::uint16_t state = down_[virtualKey] ? keyDownNow : 0;
    if (pressedSinceQuery_[virtualKey]) {
        pressedSinceQuery_[virtualKey] = false;
        state |= keyPressedSinceLastQuery;
    }
    return state;
}

void PolledKeyBindings::announceSyntheticPress(int virtualKey) {
    if (virtualKey > 0 && virtualKey < keyCount) {
        const std::lock_guard lock(mutex_);
        // An unbound key sends no event that could take the announcement.
        if (bound_[virtualKey]) {
            announced_[virtualKey].push_back(Clock::now());
        }
    }
}

void PolledKeyBindings::pressed(int virtualKey) {
    if (virtualKey <= 0 || virtualKey >= keyCount) {
        return;
    }
    const std::lock_guard lock(mutex_);
    down_[virtualKey] = true;
    auto& ours = announced_[virtualKey];
    std::erase_if(ours,
                  [](Clock::time_point at) { return Clock::now() - at > announcementLifetime; });
    if (!ours.empty()) {
        ours.erase(ours.begin());
    } else {
        pressedSinceQuery_[virtualKey] = true;
    }
}

void PolledKeyBindings::released(int virtualKey) {
    if (virtualKey > 0 && virtualKey < keyCount) {
        const std::lock_guard lock(mutex_);
        down_[virtualKey] = false;
    }
}

void PolledKeyBindings::unbindIdle() {
    const std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    for (int key = 0; key < keyCount; ++key) {
        if (bound_[key] && now - lastQuery_[key] > unbindAfter) {
            unbind(key);
        }
    }
}

void PolledKeyBindings::forgetBindings() {
    const std::lock_guard lock(mutex_);
    bound_.fill(false);
    down_.fill(false);
}

void PolledKeyBindings::unbindAll() {
    const std::lock_guard lock(mutex_);
    for (int key = 0; key < keyCount; ++key) {
        if (bound_[key]) {
            unbind(key);
        }
    }
}

void PolledKeyBindings::unbind(int virtualKey) {
    binder_.unbind(virtualKey);
    bound_[virtualKey] = false;
    down_[virtualKey] = false;
    pressedSinceQuery_[virtualKey] = false;
}

}  // namespace pontrel
