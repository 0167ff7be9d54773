#pragma once

#include <atomic>
#include <chrono>
#include <mutex>

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "platform/gnome/MutterRemoteDesktop.h"

namespace pontrel {

// Answers mutter's requests for the content of the clipboard our remote desktop session owns,
// and keeps what mutter says of the clipboard's owner. Lives in a thread with an event loop.
class MutterSelectionServer : public QObject {
    Q_OBJECT

public:
    MutterSelectionServer(QDBusConnection connection, QString session);

    void setContent(const ClipboardContent& content);
    // The types the clipboard's owner offers; empty while we own it or nobody does.
    QStringList offeredTypes() const;
    int transfers() const { return transfers_; }
    std::chrono::steady_clock::time_point lastTransfer() const {
        return std::chrono::steady_clock::time_point(
            std::chrono::steady_clock::duration(lastTransfer_.load()));
    }

public slots:
    void transfer(const QString& mimeType, uint serial);
    void ownerChanged(const QVariantMap& options);

private:
    QDBusConnection connection_;
    QString session_;
    mutable std::mutex mutex_;
    ClipboardContent content_;
    QStringList offered_;
    std::atomic<int> transfers_{0};
    std::atomic<std::chrono::steady_clock::rep> lastTransfer_{0};
};

}  // namespace pontrel
