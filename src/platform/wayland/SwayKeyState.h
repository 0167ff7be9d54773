#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/BoundKeyState.h"

namespace pontrel {

// The state of the keys the program polls, from sway's key bindings. No Wayland desktop lets a
// program read the keyboard, and a bound key is taken from every other program, so a key is
// bound (press and release, to "nop") from its first query on and unbound once it has not been
// queried for a while: the start key while idle, the stop key while a macro runs. Bindings lost
// to a reload of sway's configuration are made again. Key states follow GetAsyncKeyState:
// 0x8000 while down, 0x0001 once after a press since the previous query; presses our own typing
// announces do not count.
class SwayKeyState final : public BoundKeyState {
public:
    // The sway of $SWAYSOCK.
    SwayKeyState();
    explicit SwayKeyState(std::string socketPath);
    // Unbinds every key it bound.
    ~SwayKeyState() override;
    SwayKeyState(const SwayKeyState&) = delete;
    SwayKeyState& operator=(const SwayKeyState&) = delete;

    // False when sway did not accept the subscription to its binding events.
    bool available() const;

    std::uint16_t query(int virtualKey) override;
    void announceSyntheticPress(int virtualKey) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pontrel
