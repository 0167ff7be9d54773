#include "platform/wayland/WaylandConnection.h"

#include <poll.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

#include <wayland-client.h>

#include "ext-idle-notify-v1-client.h"
#include "idle-client.h"
#include "virtual-keyboard-unstable-v1-client.h"
#include "wlr-output-power-management-unstable-v1-client.h"
#include "wlr-screencopy-unstable-v1-client.h"
#include "wlr-virtual-pointer-unstable-v1-client.h"

namespace pontrel {

namespace {

constexpr int flushTimeoutMs = 5000;
constexpr int roundtripTimeoutMs = 5000;

WaylandOutput* findOutput(std::vector<WaylandOutput>& outputs, wl_output* output) {
    const auto it = std::find_if(outputs.begin(), outputs.end(),
                                 [output](const WaylandOutput& o) { return o.output == output; });
    return it != outputs.end() ? &*it : nullptr;
}

void outputGeometry(void* data, wl_output* output, std::int32_t x, std::int32_t y, std::int32_t,
                    std::int32_t, std::int32_t, const char*, const char*, std::int32_t) {
    if (WaylandOutput* o = findOutput(*static_cast<std::vector<WaylandOutput>*>(data), output)) {
        o->x = x;
        o->y = y;
    }
}

void outputMode(void* data, wl_output* output, std::uint32_t flags, std::int32_t width,
                std::int32_t height, std::int32_t) {
    WaylandOutput* o = findOutput(*static_cast<std::vector<WaylandOutput>*>(data), output);
    if (o != nullptr && (flags & WL_OUTPUT_MODE_CURRENT)) {
        o->modeWidth = width;
        o->modeHeight = height;
    }
}

void outputDone(void*, wl_output*) {}

void outputScale(void* data, wl_output* output, std::int32_t factor) {
    if (WaylandOutput* o = findOutput(*static_cast<std::vector<WaylandOutput>*>(data), output)) {
        o->scale = std::max(factor, 1);
    }
}

const wl_output_listener outputListener = {outputGeometry, outputMode, outputDone,
                                           outputScale,    nullptr,    nullptr};

template <typename T>
T* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
        std::uint32_t offered, std::uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

}  // namespace

void WaylandConnection::global(void* data, wl_registry* registry, std::uint32_t name,
                               const char* interface, std::uint32_t version) {
    auto& self = *static_cast<WaylandConnection*>(data);
    self.globals_.push_back(WaylandGlobal{interface, name, version});
    const auto is = [interface](const wl_interface& known) {
        return std::strcmp(interface, known.name) == 0;
    };
    if (is(wl_seat_interface) && self.seat_ == nullptr) {
        static const wl_seat_listener seatListener = {seatCapabilities, seatName};
        self.seat_ = bind<wl_seat>(registry, name, wl_seat_interface, version, 1);
        wl_seat_add_listener(self.seat_, &seatListener, &self);
    } else if (is(wl_shm_interface)) {
        self.shm_ = bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    } else if (is(wl_output_interface)) {
        // Version 2 tells the scale.
        auto* output = bind<wl_output>(registry, name, wl_output_interface, version, 2);
        self.outputs_.push_back(WaylandOutput{output, name});
        wl_output_add_listener(output, &outputListener, &self.outputs_);
    } else if (is(zwp_virtual_keyboard_manager_v1_interface)) {
        self.keyboardManager_ = bind<zwp_virtual_keyboard_manager_v1>(
            registry, name, zwp_virtual_keyboard_manager_v1_interface, version, 1);
    } else if (is(zwlr_virtual_pointer_manager_v1_interface)) {
        self.pointerManager_ = bind<zwlr_virtual_pointer_manager_v1>(
            registry, name, zwlr_virtual_pointer_manager_v1_interface, version, 2);
    } else if (is(zwlr_screencopy_manager_v1_interface)) {
        // Version 3 announces when every buffer type was offered.
        self.screencopyManager_ = bind<zwlr_screencopy_manager_v1>(
            registry, name, zwlr_screencopy_manager_v1_interface, version, 3);
    } else if (is(zwlr_output_power_manager_v1_interface)) {
        self.outputPowerManager_ = bind<zwlr_output_power_manager_v1>(
            registry, name, zwlr_output_power_manager_v1_interface, version, 1);
    } else if (is(org_kde_kwin_idle_interface)) {
        self.kdeIdle_ =
            bind<org_kde_kwin_idle>(registry, name, org_kde_kwin_idle_interface, version, 1);
    } else if (is(ext_idle_notifier_v1_interface)) {
        self.idleNotifier_ =
            bind<ext_idle_notifier_v1>(registry, name, ext_idle_notifier_v1_interface, version, 1);
    }
}

void WaylandConnection::seatCapabilities(void* data, wl_seat*, std::uint32_t capabilities) {
    static_cast<WaylandConnection*>(data)->seatCapabilities_ = capabilities;
}

void WaylandConnection::seatName(void*, wl_seat*, const char*) {}

bool WaylandConnection::seatHasKeyboard() const {
    return (seatCapabilities_ & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
}

void WaylandConnection::globalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto& globals = static_cast<WaylandConnection*>(data)->globals_;
    std::erase_if(globals, [name](const WaylandGlobal& g) { return g.name == name; });
    auto& outputs = static_cast<WaylandConnection*>(data)->outputs_;
    const auto it = std::find_if(outputs.begin(), outputs.end(),
                                 [name](const WaylandOutput& o) { return o.name == name; });
    if (it != outputs.end()) {
        wl_output_destroy(it->output);
        outputs.erase(it);
    }
}

WaylandConnection::WaylandConnection() {
    display_ = wl_display_connect(nullptr);
    if (display_ == nullptr) {
        return;
    }
    static const wl_registry_listener registryListener = {global, globalRemove};
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &registryListener, this);
    // The first round trip brings the globals, the second what the outputs say of themselves.
    wl_display_roundtrip(display_);
    wl_display_roundtrip(display_);
}

WaylandConnection::~WaylandConnection() {
    if (display_ == nullptr) {
        return;
    }
    for (const WaylandOutput& output : outputs_) {
        wl_output_destroy(output.output);
    }
    if (idleNotifier_ != nullptr) {
        ext_idle_notifier_v1_destroy(idleNotifier_);
    }
    if (kdeIdle_ != nullptr) {
        org_kde_kwin_idle_destroy(kdeIdle_);
    }
    if (outputPowerManager_ != nullptr) {
        zwlr_output_power_manager_v1_destroy(outputPowerManager_);
    }
    if (screencopyManager_ != nullptr) {
        zwlr_screencopy_manager_v1_destroy(screencopyManager_);
    }
    if (pointerManager_ != nullptr) {
        zwlr_virtual_pointer_manager_v1_destroy(pointerManager_);
    }
    if (keyboardManager_ != nullptr) {
        zwp_virtual_keyboard_manager_v1_destroy(keyboardManager_);
    }
    if (shm_ != nullptr) {
        wl_shm_destroy(shm_);
    }
    if (seat_ != nullptr) {
        wl_seat_destroy(seat_);
    }
    wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

bool WaylandConnection::usable() const {
    return display_ != nullptr && wl_display_get_error(display_) == 0;
}

std::string WaylandConnection::error() const {
    if (display_ == nullptr) {
        return "no Wayland compositor answers on WAYLAND_DISPLAY";
    }
    const int code = wl_display_get_error(display_);
    if (code == EPROTO) {
        const wl_interface* interface = nullptr;
        std::uint32_t id = 0;
        const std::uint32_t protocolError =
            wl_display_get_protocol_error(display_, &interface, &id);
        return "protocol error " + std::to_string(protocolError) + " on " +
               (interface != nullptr ? interface->name : "?");
    }
    return code != 0 ? std::string(std::strerror(code)) : std::string();
}

std::optional<WaylandGlobal> WaylandConnection::global(std::string_view interface) const {
    const auto it = std::find_if(globals_.begin(), globals_.end(),
                                 [interface](const auto& g) { return g.interface == interface; });
    return it != globals_.end() ? std::optional(*it) : std::nullopt;
}

LayoutBox LayoutBox::clip(int left, int top, int rectWidth, int rectHeight) const {
    const long long partLeft = std::max<long long>(left, x);
    const long long partTop = std::max<long long>(top, y);
    const long long partRight = std::min<long long>(static_cast<long long>(left) + rectWidth,
                                                    static_cast<long long>(x) + width);
    const long long partBottom = std::min<long long>(static_cast<long long>(top) + rectHeight,
                                                     static_cast<long long>(y) + height);
    if (partLeft >= partRight || partTop >= partBottom) {
        return {};
    }
    return {static_cast<int>(partLeft), static_cast<int>(partTop),
            static_cast<int>(partRight - partLeft), static_cast<int>(partBottom - partTop)};
}

LayoutBox WaylandConnection::layout() const {
    if (outputs_.empty()) {
        return {};
    }
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;
    for (const WaylandOutput& o : outputs_) {
        left = std::min(left, o.x);
        top = std::min(top, o.y);
        right = std::max(right, o.x + o.width());
        bottom = std::max(bottom, o.y + o.height());
    }
    return {left, top, right - left, bottom - top};
}

// Reads and dispatches the compositor's events once the socket has some, waiting at most
// timeoutMs. False on a connection error.
bool WaylandConnection::readEvents(int timeoutMs) {
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) {
            return false;
        }
    }
    pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
    const int ready = poll(&readable, 1, timeoutMs);
    if (ready > 0 && (readable.revents & POLLIN)) {
        if (wl_display_read_events(display_) < 0) {
            return false;
        }
    } else {
        wl_display_cancel_read(display_);
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
    return wl_display_dispatch_pending(display_) >= 0;
}

bool WaylandConnection::flush() {
    if (!usable()) {
        return false;
    }
    while (wl_display_flush(display_) < 0) {
        if (errno != EAGAIN) {
            return false;
        }
        // The socket is full: wait until the compositor reads, and read what it sends us so
        // that it is never stuck writing to us either.
        pollfd socket{wl_display_get_fd(display_), POLLOUT | POLLIN, 0};
        const int ready = poll(&socket, 1, flushTimeoutMs);
        if (ready == 0 || (ready < 0 && errno != EINTR)) {
            return false;
        }
        if ((socket.revents & POLLIN) && !readEvents(0)) {
            return false;
        }
    }
    return usable();
}

std::uint32_t WaylandConnection::eventTime() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// Unlike wl_display_roundtrip, gives up when the compositor does not answer in time.
bool WaylandConnection::roundtrip() {
    if (!flush()) {
        return false;
    }
    bool done = false;
    static const wl_callback_listener answered = {
        [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    wl_callback* callback = wl_display_sync(display_);
    wl_callback_add_listener(callback, &answered, &done);
    const bool ok =
        dispatchUntil([&done] { return done; }, std::chrono::milliseconds(roundtripTimeoutMs));
    wl_callback_destroy(callback);
    return ok;
}

bool WaylandConnection::dispatchUntil(const std::function<bool()>& done,
                                      std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !flush() || !readEvents(static_cast<int>(left.count()))) {
            return done();
        }
    }
    return true;
}

}  // namespace pontrel
