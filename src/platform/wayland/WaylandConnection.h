#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_output;
struct zwp_virtual_keyboard_manager_v1;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_screencopy_manager_v1;
struct zwlr_output_power_manager_v1;
struct org_kde_kwin_idle;
struct ext_idle_notifier_v1;

namespace pontrel {

// One monitor in the desktop's layout, in logical pixels (what the pointer and the screen
// capture count in).
struct WaylandOutput {
    wl_output* output = nullptr;
    std::uint32_t name = 0;  // the registry's name of the global
    int x = 0;
    int y = 0;
    int modeWidth = 0;
    int modeHeight = 0;
    int scale = 1;

    int width() const { return modeWidth / scale; }
    int height() const { return modeHeight / scale; }
};

// A global the compositor offers.
struct WaylandGlobal {
    std::string interface;
    std::uint32_t name = 0;
    std::uint32_t version = 0;
};

struct LayoutBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    // The part of the rectangle at (x, y) that lies within the box; empty where none does.
    LayoutBox clip(int left, int top, int rectWidth, int rectHeight) const;
};

// A connection of our own to $WAYLAND_DISPLAY with the globals the backends use. Used from one
// thread at a time; every service that works from a thread of its own opens its own.
class WaylandConnection {
public:
    WaylandConnection();
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    // False when no compositor answered or the connection has died since.
    bool usable() const;
    std::string error() const;

    wl_display* display() const { return display_; }
    wl_seat* seat() const { return seat_; }
    // Whether the seat has a keyboard now; asking one for its keyboard otherwise is an error
    // that ends the connection.
    bool seatHasKeyboard() const;
    wl_shm* shm() const { return shm_; }
    zwp_virtual_keyboard_manager_v1* keyboardManager() const { return keyboardManager_; }
    zwlr_virtual_pointer_manager_v1* pointerManager() const { return pointerManager_; }
    zwlr_screencopy_manager_v1* screencopyManager() const { return screencopyManager_; }
    zwlr_output_power_manager_v1* outputPowerManager() const { return outputPowerManager_; }
    // The two ways of hearing that the user is idle and when input resumes; older wlroots
    // desktops offer the first, newer ones the second.
    org_kde_kwin_idle* kdeIdle() const { return kdeIdle_; }
    ext_idle_notifier_v1* idleNotifier() const { return idleNotifier_; }
    const std::vector<WaylandOutput>& outputs() const { return outputs_; }
    // For the backends of one desktop that bind their own globals: the registry, and the
    // global of an interface when the compositor offers it.
    wl_registry* registry() const { return registry_; }
    std::optional<WaylandGlobal> global(std::string_view interface) const;
    // The rectangle around every output.
    LayoutBox layout() const;

    // The time stamp of an input event: milliseconds of the monotonic clock.
    static std::uint32_t eventTime();

    // Sends what is buffered. When the compositor's socket is full it waits until it takes
    // more (reading its events meanwhile) instead of dropping requests: a client that ignores
    // back-pressure is disconnected. False once the connection failed.
    bool flush();
    // Flushes and waits until the compositor has handled everything sent so far.
    bool roundtrip();
    // Dispatches events until done() holds; false on a connection error or after the timeout.
    bool dispatchUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version);
    static void globalRemove(void* data, wl_registry* registry, std::uint32_t name);
    static void seatCapabilities(void* data, wl_seat* seat, std::uint32_t capabilities);
    static void seatName(void* data, wl_seat* seat, const char* name);
    bool readEvents(int timeoutMs);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    std::uint32_t seatCapabilities_ = 0;
    wl_shm* shm_ = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboardManager_ = nullptr;
    zwlr_virtual_pointer_manager_v1* pointerManager_ = nullptr;
    zwlr_screencopy_manager_v1* screencopyManager_ = nullptr;
    zwlr_output_power_manager_v1* outputPowerManager_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    ext_idle_notifier_v1* idleNotifier_ = nullptr;
    std::vector<WaylandOutput> outputs_;
    std::vector<WaylandGlobal> globals_;
};

}  // namespace pontrel
