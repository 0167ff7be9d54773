#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace pontrel {

// The state of the keys the program polls, where the desktop tells only of keys bound as
// shortcuts and a bound key is taken from every other program: a key is bound from its first
// query on and given back once it has not been queried for a while (the start key while idle,
// the stop key while a macro runs). States follow GetAsyncKeyState: 0x8000 while down, 0x0001
// once after a press since the previous query; presses our own typing announces do not count.
// Not locked: its owner guards it.
class PolledKeys {
public:
    using Clock = std::chrono::steady_clock;
    // A key not queried for this long is given back to the other programs; long enough that the
    // polls of a busy program never let it go in between.
    static constexpr auto unbindAfter = std::chrono::seconds(1);
    // How long an announced press of our own typing waits for its event.
    static constexpr auto announcementLifetime = std::chrono::seconds(1);
    static constexpr int keyCount = 256;

    // The state of the key; `bind` is asked to bind it when it is not bound yet, and a key it
    // cannot bind reads 0.
    std::uint16_t query(int virtualKey, Clock::time_point now,
                        const std::function<bool(int virtualKey)>& bind);
    // The desktop told of a press or a release of a bound key.
    void pressed(int virtualKey, Clock::time_point now);
    void released(int virtualKey);
    // The next press of this key comes from our own typing.
    void announce(int virtualKey, Clock::time_point now);

    // The bound keys not queried for unbindAfter, now taken as unbound: the caller unbinds them.
    std::vector<int> takeIdle(Clock::time_point now);
    // Every key taken as unbound; the caller unbinds the keys returned.
    std::vector<int> takeAll();
    // The desktop dropped every binding: the next query binds anew.
    void bindingsLost();
    std::vector<int> boundKeys() const;

private:
    static bool valid(int virtualKey) { return virtualKey > 0 && virtualKey < keyCount; }
    void forget(int virtualKey);

    std::array<bool, keyCount> bound_{};
    std::array<Clock::time_point, keyCount> lastQuery_{};
    std::array<bool, keyCount> down_{};
    std::array<bool, keyCount> pressedSinceQuery_{};
    std::array<std::vector<Clock::time_point>, keyCount> announced_{};
};

}  // namespace pontrel
