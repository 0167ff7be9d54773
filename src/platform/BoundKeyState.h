#pragma once

#include <cstdint>

namespace pontrel {

// The state of the keys the program polls, where the desktop tells of a key only through a
// shortcut bound for it while it is polled (see PolledKeys).
class BoundKeyState {
public:
    virtual ~BoundKeyState() = default;
    virtual std::uint16_t query(int virtualKey) = 0;
    // The next press of this key comes from our own typing.
    virtual void announceSyntheticPress(int virtualKey) = 0;
};

}  // namespace pontrel
