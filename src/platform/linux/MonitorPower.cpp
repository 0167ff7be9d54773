#include "platform/linux/MonitorPower.h"

#include <thread>

namespace pontrel {

Status MonitorPower::switchOff() {
    std::this_thread::sleep_for(settle_);
    if (display_.hasDpms()) {
        Status off = display_.dpmsOff();
        if (off.ok()) {
            return off;
        }
    }
    return display_.activateScreenSaver();
}

}  // namespace pontrel
