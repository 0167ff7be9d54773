#include "platform/kde/KWinFakeInput.h"

#include <algorithm>
#include <thread>

#include <wayland-client.h>

#include "fake-input-client.h"
#include "platform/wayland/InputCodes.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

namespace {

// Keys arrive with keyboard_key from version 4 on (Plasma 5.27).
constexpr std::uint32_t keyboardVersion = 4;
constexpr int eventsPerRoundtrip = 64;
// A new fake device loses the events of its first moments on a seat without other devices.
constexpr auto newDeviceSettle = std::chrono::milliseconds(150);

}  // namespace

bool runsOnKWin(const WaylandConnection& connection) {
    return connection.global("org_kde_kwin_dpms_manager").has_value() ||
           connection.global("org_kde_plasma_window_management").has_value();
}

bool KWinFakeInput::offered(const WaylandConnection& connection) {
    const auto global = connection.global(org_kde_kwin_fake_input_interface.name);
    return connection.usable() && global && global->version >= keyboardVersion;
}

KWinFakeInput::KWinFakeInput(WaylandConnection& connection) : connection_(connection) {
    if (!offered(connection_)) {
        return;
    }
    const auto global = connection_.global(org_kde_kwin_fake_input_interface.name);
    device_ = static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(
        connection_.registry(), global->name, &org_kde_kwin_fake_input_interface, keyboardVersion));
    org_kde_kwin_fake_input_authenticate(device_, "Pontrel", "Makros tippen und klicken");
    if (!connection_.roundtrip()) {
        return;
    }
    std::this_thread::sleep_for(newDeviceSettle);
}

KWinFakeInput::~KWinFakeInput() {
    if (device_ != nullptr) {
        org_kde_kwin_fake_input_destroy(device_);
        (void)connection_.roundtrip();
    }
}

bool KWinFakeInput::key(std::uint32_t keycode, bool down) {
    org_kde_kwin_fake_input_keyboard_key(
        device_, keycode - 8,
        down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    return afterEvent();
}

bool KWinFakeInput::moveTo(int x, int y) {
    const LayoutBox box = connection_.layout();
    x = std::clamp(x, box.x, box.x + std::max(box.width - 1, 0));
    y = std::clamp(y, box.y, box.y + std::max(box.height - 1, 0));
    org_kde_kwin_fake_input_pointer_motion_absolute(device_, wl_fixed_from_int(x),
                                                    wl_fixed_from_int(y));
    return afterEvent();
}

bool KWinFakeInput::button(MouseButton button, bool down) {
    org_kde_kwin_fake_input_button(
        device_, linuxButton(button),
        down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    return afterEvent();
}

bool KWinFakeInput::roundtrip() {
    eventsSinceRoundtrip_ = 0;
    return connection_.roundtrip();
}

bool KWinFakeInput::afterEvent() {
    if (++eventsSinceRoundtrip_ >= eventsPerRoundtrip) {
        return roundtrip();
    }
    return connection_.flush();
}

}  // namespace pontrel
