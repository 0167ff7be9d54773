#include "platform/wayland/WlrOutputPower.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <vector>

#include <wayland-client.h>

#include "ext-idle-notify-v1-client.h"
#include "idle-client.h"
#include "platform/wayland/WaylandConnection.h"
#include "wlr-output-power-management-unstable-v1-client.h"

namespace pontrel {

namespace {

// The pause after which input counts as the next one. Short, so that a key pressed soon after
// the monitor went off still wakes it (after the pause, at the latest with the next key).
constexpr std::uint32_t pauseMs = 100;

// How long switching off may take before it counts as failed.
constexpr int answerTimeoutMs = 5000;

// How long one wait for the compositor's events lasts before it is renewed.
constexpr std::chrono::hours waitSlice{1};

struct IdleState {
    bool idle = false;
    bool resumed = false;
};

void becameIdle(void* data) {
    static_cast<IdleState*>(data)->idle = true;
}

void inputResumed(void* data) {
    auto& state = *static_cast<IdleState*>(data);
    state.resumed = state.idle;
}

const org_kde_kwin_idle_timeout_listener kdeListener = {
    [](void* data, org_kde_kwin_idle_timeout*) { becameIdle(data); },
    [](void* data, org_kde_kwin_idle_timeout*) { inputResumed(data); },
};

const ext_idle_notification_v1_listener extListener = {
    [](void* data, ext_idle_notification_v1*) { becameIdle(data); },
    [](void* data, ext_idle_notification_v1*) { inputResumed(data); },
};

const zwlr_output_power_v1_listener powerListener = {
    [](void*, zwlr_output_power_v1*, std::uint32_t) {},
    [](void* data, zwlr_output_power_v1*) { *static_cast<bool*>(data) = true; },
};

}  // namespace

bool setOutputsPower(WaylandConnection& connection, bool on) {
    if (!connection.usable() || connection.outputPowerManager() == nullptr ||
        connection.outputs().empty()) {
        return false;
    }
    const std::uint32_t mode = on ? ZWLR_OUTPUT_POWER_V1_MODE_ON : ZWLR_OUTPUT_POWER_V1_MODE_OFF;
    // One flag per output; a vector of bool would not give their addresses.
    std::vector<char> failed(connection.outputs().size(), 0);
    std::vector<zwlr_output_power_v1*> controls;
    for (std::size_t i = 0; i < failed.size(); ++i) {
        zwlr_output_power_v1* control = zwlr_output_power_manager_v1_get_output_power(
            connection.outputPowerManager(), connection.outputs()[i].output);
        zwlr_output_power_v1_add_listener(control, &powerListener, &failed[i]);
        zwlr_output_power_v1_set_mode(control, mode);
        controls.push_back(control);
    }
    const bool answered = connection.roundtrip();
    for (zwlr_output_power_v1* control : controls) {
        zwlr_output_power_v1_destroy(control);
    }
    (void)connection.flush();
    return answered && std::find(failed.begin(), failed.end(), 1) == failed.end();
}

bool hearsUserInput(const WaylandConnection& connection) {
    return connection.seat() != nullptr &&
           (connection.idleNotifier() != nullptr || connection.kdeIdle() != nullptr);
}

bool waitForNextInput(WaylandConnection& connection) {
    if (!connection.usable() || !hearsUserInput(connection)) {
        return false;
    }
    IdleState state;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* timeout = nullptr;
    if (connection.idleNotifier() != nullptr) {
        notification = ext_idle_notifier_v1_get_idle_notification(connection.idleNotifier(),
                                                                  pauseMs, connection.seat());
        ext_idle_notification_v1_add_listener(notification, &extListener, &state);
    } else {
        timeout =
            org_kde_kwin_idle_get_idle_timeout(connection.kdeIdle(), connection.seat(), pauseMs);
        org_kde_kwin_idle_timeout_add_listener(timeout, &kdeListener, &state);
    }
    while (connection.usable() && !state.resumed) {
        (void)connection.dispatchUntil([&state] { return state.resumed; }, waitSlice);
    }
    if (notification != nullptr) {
        ext_idle_notification_v1_destroy(notification);
    }
    if (timeout != nullptr) {
        org_kde_kwin_idle_timeout_release(timeout);
    }
    return state.resumed;
}

// One process switches the outputs off and on again, so that nothing can end between the two
// and leave them dark.
Status WlrDisplayPower::dpmsOff() {
    int answer[2];
    if (pipe2(answer, O_CLOEXEC) != 0) {
        return Status::failure("no pipe for the process that switches the outputs");
    }
    const Status started = startWaker_(answer[1]);
    close(answer[1]);
    char word = '0';
    pollfd readable{answer[0], POLLIN, 0};
    if (started.ok() && poll(&readable, 1, answerTimeoutMs) == 1) {
        (void)read(answer[0], &word, 1);
    }
    close(answer[0]);
    if (!started.ok()) {
        return started;
    }
    return word == '1' ? Status::success()
                       : Status::failure("the desktop did not switch the outputs off");
}

Status WlrDisplayPower::activateScreenSaver() {
    return Status::failure("the outputs were not switched off, and there is no screen saver");
}

int wakeOutputsOnInput() {
    constexpr int answer = 3;
    WaylandConnection connection;
    // Never dark without a way back.
    const bool off = hearsUserInput(connection) && setOutputsPower(connection, false);
    const char word = off ? '1' : '0';
    (void)write(answer, &word, 1);
    close(answer);
    if (!off || !waitForNextInput(connection)) {
        return 1;
    }
    return setOutputsPower(connection, true) ? 0 : 1;
}

}  // namespace pontrel
