#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace pontrel {

// The state of the keys a program polls, on desktops that tell a program of a key only through a
// binding it registers (sway, KWin), which takes the key from every other program: a key is
// bound from its first query on and given back once it has not been queried for a while, so
// the start key is bound while idle and the stop key while a macro runs. Key states follow
// GetAsyncKeyState: 0x8000 while down, 0x0001 once after a press since the previous query;
// presses our own typing announces do not count. Safe to use from any thread; the binder is
// called with a lock held.
class PolledKeyBindings {
public:
    struct Binder {
        std::function<bool(int virtualKey)> bind;  // false: the key cannot be bound
        std::function<void(int virtualKey)> unbind;
    };

    explicit PolledKeyBindings(Binder binder);

    std::uint16_t query(int virtualKey);
    // The next press of this key comes from our own typing.
    void announceSyntheticPress(int virtualKey);

    // What the desktop reports of a bound key.
    void pressed(int virtualKey);
    void released(int virtualKey);
    // Gives back the keys not queried for a while; to be called every little while.
    void unbindIdle();
    // The desktop has dropped every binding: the next query makes them again.
    void forgetBindings();
    void unbindAll();

private:
    static constexpr int keyCount = 256;
    using Clock = std::chrono::steady_clock;

    void unbind(int virtualKey);

    Binder binder_;
    std::mutex mutex_;
    std::array<bool, keyCount> bound_{};
    std::array<Clock::time_point, keyCount> lastQuery_{};
    std::array<bool, keyCount> down_{};
    std::array<bool, keyCount> pressedSinceQuery_{};
    std::array<std::vector<Clock::time_point>, keyCount> announced_{};
};

}  // namespace pontrel
