#include "platform/kde/KWinDisplayPower.h"

#include <chrono>
#include <vector>

#include <wayland-client.h>

#include "dpms-client.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

namespace {

constexpr auto modeTimeout = std::chrono::seconds(2);

// KWin's DPMS state of one monitor.
struct MonitorPower {
    org_kde_kwin_dpms* dpms = nullptr;
    bool supported = false;
    std::uint32_t mode = ORG_KDE_KWIN_DPMS_MODE_ON;

    static void onSupported(void* data, org_kde_kwin_dpms*, std::uint32_t supported) {
        static_cast<MonitorPower*>(data)->supported = supported != 0;
    }
    static void onMode(void* data, org_kde_kwin_dpms*, std::uint32_t mode) {
        static_cast<MonitorPower*>(data)->mode = mode;
    }
    static void onDone(void*, org_kde_kwin_dpms*) {}
};

// Every monitor's state, as KWin tells it on binding.
class Monitors {
public:
    Monitors() {
        const auto global = connection_.global(org_kde_kwin_dpms_manager_interface.name);
        if (!connection_.usable() || !global) {
            return;
        }
        manager_ = static_cast<org_kde_kwin_dpms_manager*>(wl_registry_bind(
            connection_.registry(), global->name, &org_kde_kwin_dpms_manager_interface, 1));
        static const org_kde_kwin_dpms_listener listener = {
            MonitorPower::onSupported, MonitorPower::onMode, MonitorPower::onDone};
        monitors_.resize(connection_.outputs().size());
        for (std::size_t i = 0; i < monitors_.size(); ++i) {
            monitors_[i].dpms =
                org_kde_kwin_dpms_manager_get(manager_, connection_.outputs()[i].output);
            org_kde_kwin_dpms_add_listener(monitors_[i].dpms, &listener, &monitors_[i]);
        }
        (void)connection_.roundtrip();
    }
    ~Monitors() {
        for (const MonitorPower& monitor : monitors_) {
            org_kde_kwin_dpms_release(monitor.dpms);
        }
        if (manager_ != nullptr) {
            org_kde_kwin_dpms_manager_destroy(manager_);
        }
        (void)connection_.roundtrip();
    }
    Monitors(const Monitors&) = delete;
    Monitors& operator=(const Monitors&) = delete;

    bool anySupported() const {
        for (const MonitorPower& monitor : monitors_) {
            if (monitor.supported) {
                return true;
            }
        }
        return false;
    }

    bool switchOff() {
        for (const MonitorPower& monitor : monitors_) {
            if (monitor.supported) {
                org_kde_kwin_dpms_set(monitor.dpms, ORG_KDE_KWIN_DPMS_MODE_OFF);
            }
        }
        return connection_.dispatchUntil(
            [this] {
                for (const MonitorPower& monitor : monitors_) {
                    if (monitor.supported && monitor.mode != ORG_KDE_KWIN_DPMS_MODE_OFF) {
                        return false;
                    }
                }
                return true;
            },
            modeTimeout);
    }

private:
    WaylandConnection connection_;
    org_kde_kwin_dpms_manager* manager_ = nullptr;
    std::vector<MonitorPower> monitors_;
};

}  // namespace

bool KWinDisplayPower::hasDpms() {
    return Monitors().anySupported();
}

Status KWinDisplayPower::dpmsOff() {
    Monitors monitors;
    if (!monitors.anySupported()) {
        return Status::failure("KWin cannot switch the monitor off");
    }
    return monitors.switchOff() ? Status::success()
                                : Status::failure("KWin did not switch the monitor off");
}

Status KWinDisplayPower::activateScreenSaver() {
    return Status::failure("KWin has no screen saver to start");
}

}  // namespace pontrel
