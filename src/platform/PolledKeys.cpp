#include "platform/PolledKeys.h"

#include <algorithm>

#include "platform/InputService.h"

namespace pontrel {

std::uint16_t PolledKeys::query(int virtualKey, Clock::time_point now,
                                const std::function<bool(int virtualKey)>& bind) {
    if (!valid(virtualKey)) {
        return 0;
    }
    lastQuery_[virtualKey] = now;
    if (!bound_[virtualKey]) {
        bound_[virtualKey] = bind(virtualKey);
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

void PolledKeys::pressed(int virtualKey, Clock::time_point now) {
    if (!valid(virtualKey)) {
        return;
    }
    down_[virtualKey] = true;
    auto& ours = announced_[virtualKey];
    std::erase_if(ours, [now](Clock::time_point at) { return now - at > announcementLifetime; });
    if (!ours.empty()) {
        ours.erase(ours.begin());
    } else {
        pressedSinceQuery_[virtualKey] = true;
    }
}

void PolledKeys::released(int virtualKey) {
    if (valid(virtualKey)) {
        down_[virtualKey] = false;
    }
}

void PolledKeys::announce(int virtualKey, Clock::time_point now) {
    // An unbound key sends no event that could take the announcement.
    if (valid(virtualKey) && bound_[virtualKey]) {
        announced_[virtualKey].push_back(now);
    }
}

std::vector<int> PolledKeys::takeIdle(Clock::time_point now) {
    std::vector<int> idle;
    for (int key = 1; key < keyCount; ++key) {
        if (bound_[key] && now - lastQuery_[key] > unbindAfter) {
            forget(key);
            idle.push_back(key);
        }
    }
    return idle;
}

std::vector<int> PolledKeys::takeAll() {
    const std::vector<int> keys = boundKeys();
    for (int key : keys) {
        forget(key);
    }
    return keys;
}

void PolledKeys::bindingsLost() {
    bound_.fill(false);
    down_.fill(false);
}

std::vector<int> PolledKeys::boundKeys() const {
    std::vector<int> keys;
    for (int key = 1; key < keyCount; ++key) {
        if (bound_[key]) {
            keys.push_back(key);
        }
    }
    return keys;
}

void PolledKeys::forget(int virtualKey) {
    bound_[virtualKey] = false;
    down_[virtualKey] = false;
    pressedSinceQuery_[virtualKey] = false;
}

}  // namespace pontrel
