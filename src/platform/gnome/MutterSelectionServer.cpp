#include "platform/gnome/MutterSelectionServer.h"

#include <unistd.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>

#include "platform/gnome/MutterNames.h"

namespace pontrel {

namespace {

// Mutter gives the types as a list, or as a structure holding one.
QStringList mimeTypes(const QVariant& value) {
    const QDBusArgument argument = value.value<QDBusArgument>();
    QStringList types;
    if (argument.currentSignature().startsWith(QLatin1Char('('))) {
        argument.beginStructure();
        argument >> types;
        argument.endStructure();
    } else {
        argument >> types;
    }
    return types;
}

}  // namespace

MutterSelectionServer::MutterSelectionServer(QDBusConnection connection, QString session)
    : connection_(std::move(connection)), session_(std::move(session)) {}

void MutterSelectionServer::setContent(const ClipboardContent& content) {
    const std::lock_guard lock(mutex_);
    content_ = content;
}

QStringList MutterSelectionServer::offeredTypes() const {
    const std::lock_guard lock(mutex_);
    return offered_;
}

void MutterSelectionServer::transfer(const QString& mimeType, uint serial) {
    std::string data;
    bool known = false;
    {
        const std::lock_guard lock(mutex_);
        const auto it = content_.find(mimeType.toStdString());
        known = it != content_.end();
        if (known) {
            data = it->second;
        }
    }
    bool written = false;
    if (known) {
        QDBusMessage call = mutter::sessionCall(session_, QStringLiteral("SelectionWrite"));
        call << serial;
        const QDBusMessage reply = connection_.call(call);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            const int fd =
                reply.arguments().front().value<QDBusUnixFileDescriptor>().fileDescriptor();
            std::size_t done = 0;
            while (fd >= 0 && done < data.size()) {
                const ssize_t n = write(fd, data.data() + done, data.size() - done);
                if (n <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(n);
            }
            written = done == data.size();
        }
    }
    QDBusMessage done = mutter::sessionCall(session_, QStringLiteral("SelectionWriteDone"));
    done << serial << written;
    connection_.call(done);
    lastTransfer_ = std::chrono::steady_clock::now().time_since_epoch().count();
    if (written) {
        ++transfers_;
    }
}

void MutterSelectionServer::ownerChanged(const QVariantMap& options) {
    const std::lock_guard lock(mutex_);
    offered_ = options.value(QStringLiteral("session-is-owner")).toBool()
                   ? QStringList()
                   : mimeTypes(options.value(QStringLiteral("mime-types")));
}

}  // namespace pontrel
