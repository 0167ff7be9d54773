#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

namespace pontrel {

// Collects the PipeWire nodes mutter announces for its screen-cast streams. It lives on a thread
// of its own, so that a capture can wait for its node without running the caller's event loop.
class StreamAnnouncements : public QObject {
    Q_OBJECT

public:
    // The node of the stream at `path`, once announced within the timeout; taken out of the
    // collection.
    std::optional<std::uint32_t> take(const QString& path, std::chrono::milliseconds timeout);

public slots:
    void streamAdded(const QDBusMessage& message);

private:
    std::mutex mutex_;
    std::condition_variable announced_;
    std::map<QString, std::uint32_t> nodes_;
};

}  // namespace pontrel
