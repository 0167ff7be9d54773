#include "platform/gnome/StreamAnnouncements.h"

namespace pontrel {

std::optional<std::uint32_t> StreamAnnouncements::take(const QString& path,
                                                       std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!announced_.wait_for(lock, timeout, [&] { return nodes_.count(path) != 0; })) {
        return std::nullopt;
    }
    const std::uint32_t node = nodes_[path];
    nodes_.erase(path);
    return node;
}

void StreamAnnouncements::streamAdded(const QDBusMessage& message) {
    if (message.arguments().isEmpty()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        nodes_[message.path()] = message.arguments().first().toUInt();
    }
    announced_.notify_all();
}

}  // namespace pontrel
