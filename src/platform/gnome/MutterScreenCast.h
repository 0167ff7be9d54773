#pragma once

#include <QDBusConnection>
#include <QString>
#include <QThread>
#include <chrono>
#include <cstdint>
#include <string>

namespace pontrel {

class MutterMonitorChanges;
class StreamAnnouncements;

// A screen-cast stream of mutter: its session (to be stopped by the owner) and the PipeWire node
// that carries its video. The error says why there is none; a failed one leaves no session.
struct Recording {
    QString session;
    std::uint32_t node = 0;
    std::string error;

    bool ok() const { return error.empty(); }
};

// mutter's screen cast on the session bus (no dialog for a program outside a sandbox). Its
// sessions end with the bus connection, so one connection is kept for the object's life.
class MutterScreenCast {
public:
    MutterScreenCast();
    ~MutterScreenCast();
    MutterScreenCast(const MutterScreenCast&) = delete;
    MutterScreenCast& operator=(const MutterScreenCast&) = delete;

    // Whether mutter's screen cast is on the session bus now.
    static bool offered();
    // False when mutter's screen cast is not on the bus.
    bool usable();
    // Starts streaming the rectangle (x, y, width, height) of the desktop, in logical pixels,
    // without the pointer; waits up to the timeout for its node.
    Recording recordArea(int x, int y, int width, int height, std::chrono::milliseconds timeout);
    void stop(const QString& session);
    // Whether mutter's monitors changed since the last call: a stream of an area may then stand
    // still on its last frame.
    bool monitorsChanged();

private:
    QString connectionName_;
    QDBusConnection bus_;
    QThread announcementThread_;
    StreamAnnouncements* announcements_;
    MutterMonitorChanges* monitorChanges_;
};

}  // namespace pontrel
