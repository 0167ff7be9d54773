#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/KeyAction.h"

namespace pontrel {

// A key a typing backend holds down for a chord; the backends keep them in press order.
struct HeldKey {
    NamedKey key;
    std::uint32_t keycode;
    bool lifted = false;  // let go for an AltGr character or a paste, pressed again later
};

inline bool holdsKey(const std::vector<HeldKey>& held, NamedKey key) {
    return std::any_of(held.begin(), held.end(),
                       [key](const HeldKey& one) { return one.key == key; });
}

// The last press of the key, taken off the list; nullopt when the key is not held.
inline std::optional<HeldKey> takeHeldKey(std::vector<HeldKey>& held, NamedKey key) {
    const auto it = std::find_if(held.rbegin(), held.rend(),
                                 [key](const HeldKey& one) { return one.key == key; });
    if (it == held.rend()) {
        return std::nullopt;
    }
    const HeldKey taken = *it;
    held.erase(std::next(it).base());
    return taken;
}

}  // namespace pontrel
