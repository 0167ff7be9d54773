#pragma once

#include <cstdint>
#include <memory>

#include "platform/BoundKeyState.h"

namespace pontrel {

class PortalBus;

// The state of the keys the program polls, from the GlobalShortcuts portal: each polled key is a
// shortcut bound while it is polled (see PolledKeys), read from the Activated and Deactivated
// signals. The portal binds a whole set of shortcuts at once, so a change of the polled keys
// binds the new set in a fresh session, off the caller's thread: a desktop may ask the user.
class PortalKeyState final : public BoundKeyState {
public:
    explicit PortalKeyState(PortalBus& bus);
    // Ends the session, which unbinds every key.
    ~PortalKeyState() override;
    PortalKeyState(const PortalKeyState&) = delete;
    PortalKeyState& operator=(const PortalKeyState&) = delete;

    std::uint16_t query(int virtualKey) override;
    void announceSyntheticPress(int virtualKey) override;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace pontrel
