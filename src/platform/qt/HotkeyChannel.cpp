#include "platform/qt/HotkeyChannel.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>

namespace pontrel {

namespace {

constexpr int answerTimeoutMs = 2000;
const QByteArray startLine = "start\n";
const QByteArray stopLine = "stop\n";
const QByteArray takenLine = "ok\n";

// In the user's own runtime folder, which only the user can enter; empty without one.
QString socketName() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.startsWith('/')) {
        return {};
    }
    return QString::fromLocal8Bit(runtime) + QStringLiteral("/pontrel-hotkey");
}

// A socket left by a program that died answers no one.
bool anotherProgramListens(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(answerTimeoutMs);
}

}  // namespace

HotkeyServer::HotkeyServer(std::function<void(HotkeyCommand)> handler)
    : server_(std::make_unique<QLocalServer>()), handler_(std::move(handler)) {
    const QString name = socketName();
    if (name.isEmpty()) {
        return;
    }
    // Asked first: the socket of another running program is not to be removed.
    if (anotherProgramListens(name)) {
        return;
    }
    QLocalServer::removeServer(name);
    if (!server_->listen(name)) {
        return;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client,
                             &QLocalSocket::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (!client->canReadLine()) {
                    return;
                }
                const QByteArray line = client->readLine();
                if (line == startLine || line == stopLine) {
                    client->write(takenLine);
                    client->flush();
                    handler_(line == startLine ? HotkeyCommand::Start : HotkeyCommand::Stop);
                }
                client->disconnectFromServer();
            });
        }
    });
}

HotkeyServer::~HotkeyServer() = default;

bool HotkeyServer::listening() const {
    return server_->isListening();
}

Status sendHotkeyCommand(HotkeyCommand command) {
    const QString name = socketName();
    if (name.isEmpty()) {
        return Status::failure("XDG_RUNTIME_DIR is not set");
    }
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(answerTimeoutMs)) {
        return Status::failure("no running Pontrel takes hot keys");
    }
    socket.write(command == HotkeyCommand::Start ? startLine : stopLine);
    if (!socket.waitForBytesWritten(answerTimeoutMs)) {
        return Status::failure("the running Pontrel did not take the command");
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(answerTimeoutMs)) {
            return Status::failure("the running Pontrel did not answer");
        }
    }
    if (socket.readLine() != takenLine) {
        return Status::failure("the running Pontrel did not take the command");
    }
    return Status::success();
}

}  // namespace pontrel
