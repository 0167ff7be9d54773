#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QDBusMessage>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

namespace pontrel {

class PortalSessionHandle;

// What a portal request came to: the results, or why there are none.
struct PortalResponse {
    bool ok = false;
    bool declined = false;  // by the user, in the desktop's dialog
    std::string error;      // plain words, for the log and the user
    QVariantMap results;
};

// The desktop portal (org.freedesktop.portal.Desktop) on a session-bus connection of our own.
// Requests follow the portal's pattern: a handle token of ours names the Request object, whose
// Response signal is subscribed before the call. Signals are received on a thread of this
// object's own, so any other thread may wait for a response; sessions a program made end with
// this connection.
class PortalBus {
public:
    // How long a request waits when no dialog is expected, and when the user may be asked.
    static constexpr std::chrono::seconds quickAnswer{10};
    static constexpr std::chrono::seconds userAnswer{120};

    PortalBus();
    ~PortalBus();
    PortalBus(const PortalBus&) = delete;
    PortalBus& operator=(const PortalBus&) = delete;

    bool connected() const;
    // The version of org.freedesktop.portal.<interface>; 0 where the desktop lacks it.
    unsigned version(const QString& interface);

    // Calls a request method of org.freedesktop.portal.<interface>: `options` (the last
    // argument) gets our handle token. Waits for the Response at most `timeout`.
    PortalResponse request(const QString& interface, const QString& method,
                           const QVariantList& arguments, QVariantMap options,
                           std::chrono::milliseconds timeout);
    // A plain method call; the error message, or nothing on success, when the reply's values go
    // to `replies` where given.
    std::optional<std::string> call(const QString& interface, const QString& method,
                                    const QVariantList& arguments, QVariantList* replies = nullptr);
    // Creates a session through `interface`'s CreateSession: closed with the object returned,
    // which notes when the desktop closes it first; null, with the reason in `error`, when there
    // is none.
    std::unique_ptr<PortalSessionHandle> createSession(const QString& interface,
                                                       std::string& error);
    void closeSession(const QString& handle);

    // Calls `handler`, on this object's thread, for every signal `member` of
    // org.freedesktop.portal.<interface>.
    void subscribe(const QString& interface, const QString& member,
                   std::function<void(const QDBusMessage&)> handler);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A portal session's handle, closed when the object goes.
class PortalSessionHandle {
public:
    // `closed` is set when the desktop closes the session (the user stopped sharing, say).
    PortalSessionHandle(PortalBus& bus, QString handle,
                        std::shared_ptr<const std::atomic<bool>> closed)
        : bus_(bus), handle_(std::move(handle)), closed_(std::move(closed)) {}
    ~PortalSessionHandle() { bus_.closeSession(handle_); }
    PortalSessionHandle(const PortalSessionHandle&) = delete;
    PortalSessionHandle& operator=(const PortalSessionHandle&) = delete;

    const QString& handle() const { return handle_; }
    bool closedByDesktop() const { return *closed_; }

private:
    PortalBus& bus_;
    QString handle_;
    std::shared_ptr<const std::atomic<bool>> closed_;
};

}  // namespace pontrel
