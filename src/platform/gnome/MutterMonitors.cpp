#include "platform/gnome/MutterMonitors.h"

#include <cmath>
#include <map>
#include <utility>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QList>
#include <QVariantMap>

#include "platform/gnome/MutterNames.h"

namespace pontrel {

namespace {

constexpr int callTimeoutMs = 5000;
// The layout-mode where a logical pixel is `scale` monitor pixels; the other counts pixels.
constexpr unsigned logicalLayoutMode = 1;

using ModeSize = std::pair<int, int>;

QString readConnector(const QDBusArgument& argument) {
    QString connector;
    QString vendor;
    QString product;
    QString serial;
    argument.beginStructure();
    argument >> connector >> vendor >> product >> serial;
    argument.endStructure();
    return connector;
}

// The size of the current mode of every monitor that has one, by connector.
std::map<QString, ModeSize> currentModes(const QDBusArgument& monitors) {
    std::map<QString, ModeSize> sizes;
    monitors.beginArray();
    while (!monitors.atEnd()) {
        monitors.beginStructure();
        const QString connector = readConnector(monitors);
        monitors.beginArray();
        while (!monitors.atEnd()) {
            QString id;
            int width = 0;
            int height = 0;
            double rate = 0;
            double preferredScale = 0;
            QList<double> scales;
            QVariantMap properties;
            monitors.beginStructure();
            monitors >> id >> width >> height >> rate >> preferredScale >> scales >> properties;
            monitors.endStructure();
            if (properties.value(QStringLiteral("is-current")).toBool()) {
                sizes[connector] = {width, height};
            }
        }
        monitors.endArray();
        QVariantMap properties;
        monitors >> properties;
        monitors.endStructure();
    }
    monitors.endArray();
    return sizes;
}

}  // namespace

std::optional<std::vector<MutterMonitor>> readMutterMonitors(const QDBusConnection& bus) {
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(mutter::displayConfig, mutter::displayConfigPath,
                                       mutter::displayConfig, QStringLiteral("GetCurrentState")),
        QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 4) {
        return std::nullopt;
    }
    const std::map<QString, ModeSize> modes =
        currentModes(reply.arguments().at(1).value<QDBusArgument>());
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().at(3));
    const bool logical =
        properties.value(QStringLiteral("layout-mode")).toUInt() == logicalLayoutMode;

    std::vector<MutterMonitor> monitors;
    const QDBusArgument logicalMonitors = reply.arguments().at(2).value<QDBusArgument>();
    logicalMonitors.beginArray();
    while (!logicalMonitors.atEnd()) {
        int x = 0;
        int y = 0;
        double scale = 1;
        unsigned transform = 0;
        bool primary = false;
        QStringList connectors;
        QVariantMap logicalProperties;
        logicalMonitors.beginStructure();
        logicalMonitors >> x >> y >> scale >> transform >> primary;
        logicalMonitors.beginArray();
        while (!logicalMonitors.atEnd()) {
            connectors << readConnector(logicalMonitors);
        }
        logicalMonitors.endArray();
        logicalMonitors >> logicalProperties;
        logicalMonitors.endStructure();

        // Mirrored monitors share one place; a stream of the first reaches it.
        const auto mode = connectors.isEmpty() ? modes.end() : modes.find(connectors.front());
        if (mode == modes.end() || scale <= 0) {
            continue;
        }
        auto [width, height] = mode->second;
        if (transform % 2 == 1) {  // turned by 90 or 270 degrees
            std::swap(width, height);
        }
        const double perPixel = logical ? scale : 1.0;
        monitors.push_back({connectors.front(),
                            {x, y, static_cast<int>(std::lround(width / perPixel)),
                             static_cast<int>(std::lround(height / perPixel))},
                            perPixel});
    }
    logicalMonitors.endArray();
    return monitors;
}

void MutterMonitorChanges::watch(QDBusConnection bus) {
    bus.connect(mutter::displayConfig, mutter::displayConfigPath, mutter::displayConfig,
                QStringLiteral("MonitorsChanged"), this, SLOT(changed()));
}

}  // namespace pontrel
