#pragma once

#include <atomic>
#include <optional>
#include <vector>

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "platform/controls/Rect.h"

namespace pontrel {

// A monitor of mutter's desktop that shows a picture: its connector, its place in logical
// pixels, and how many pixels of a screen-cast stream of it make one logical pixel.
struct MutterMonitor {
    QString connector;
    Rect area;
    double streamScale = 1.0;
};

// The monitors as mutter's display configuration has them now; nullopt when it does not answer.
std::optional<std::vector<MutterMonitor>> readMutterMonitors(const QDBusConnection& bus);

// Notes that mutter's monitors changed. Lives in a thread with an event loop; asked from any.
class MutterMonitorChanges : public QObject {
    Q_OBJECT

public:
    // Listens to the display configuration on the bus.
    void watch(QDBusConnection bus);
    // Whether the monitors changed since the last call.
    bool take() { return changed_.exchange(false); }

public slots:
    void changed() { changed_ = true; }

private:
    std::atomic<bool> changed_{false};
};

}  // namespace pontrel
