#include "platform/wayland/SwayIpc.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pontrel {

namespace {

constexpr char magic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::uint32_t runCommand = 0;
constexpr std::uint32_t getTree = 4;
constexpr std::uint32_t subscribeMessage = 2;
constexpr std::uint32_t getVersion = 7;
// Replies larger than this are not ours to read (a tree of a few hundred windows is far less).
constexpr std::uint32_t maxReply = 64U << 20;

bool sendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool receiveAll(int fd, char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = recv(fd, data, size, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

// The focused leaf below a node of the tree: sway marks exactly one node "focused".
QJsonObject focusedNode(const QJsonObject& node) {
    if (node.value("focused").toBool()) {
        return node;
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue& child : node.value(children).toArray()) {
            const QJsonObject found = focusedNode(child.toObject());
            if (!found.isEmpty()) {
                return found;
            }
        }
    }
    return {};
}

}  // namespace

SwayIpc::SwayIpc() {
    const char* path = std::getenv("SWAYSOCK");
    socketPath_ = path != nullptr ? path : "";
}

SwayIpc::SwayIpc(std::string socketPath) : socketPath_(std::move(socketPath)) {}

SwayIpc::~SwayIpc() {
    closeSocket();
}

bool SwayIpc::connectSocket() {
    sockaddr_un address{};
    if (socketPath_.empty() || socketPath_.size() >= sizeof address.sun_path) {
        return false;
    }
    socket_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size());
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closeSocket();
        return false;
    }
    return true;
}

void SwayIpc::closeSocket() {
    if (socket_ >= 0) {
        close(socket_);
        socket_ = -1;
    }
}

std::optional<SwayIpc::Event> SwayIpc::readMessage() {
    char header[sizeof magic + 8] = {};
    if (!receiveAll(socket_, header, sizeof header)) {
        return std::nullopt;
    }
    Event message{};
    std::uint32_t length = 0;
    std::memcpy(&length, header + sizeof magic, sizeof length);
    std::memcpy(&message.type, header + sizeof magic + sizeof length, sizeof message.type);
    if (length > maxReply) {
        return std::nullopt;
    }
    message.payload.resize(length);
    if (!receiveAll(socket_, message.payload.data(), message.payload.size())) {
        return std::nullopt;
    }
    return message;
}

std::optional<std::string> SwayIpc::request(std::uint32_t type, std::string_view payload) {
    // One new connection after a failure: sway may have restarted.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (socket_ < 0 && !connectSocket()) {
            return std::nullopt;
        }
        std::string message(magic, sizeof magic);
        const auto length = static_cast<std::uint32_t>(payload.size());
        message.append(reinterpret_cast<const char*>(&length), sizeof length);
        message.append(reinterpret_cast<const char*>(&type), sizeof type);
        message.append(payload);
        if (sendAll(socket_, message.data(), message.size())) {
            if (auto reply = readMessage()) {
                return std::move(reply->payload);
            }
        }
        closeSocket();
    }
    return std::nullopt;
}

bool SwayIpc::subscribe(std::string_view events) {
    closeSocket();
    const auto reply = request(subscribeMessage, events);
    return reply && QJsonDocument::fromJson(QByteArray::fromStdString(*reply))
                        .object()
                        .value("success")
                        .toBool();
}

std::optional<SwayIpc::Event> SwayIpc::nextEvent(int timeoutMs) {
    if (socket_ < 0) {
        return std::nullopt;
    }
    pollfd readable{socket_, POLLIN, 0};
    const int ready = poll(&readable, 1, timeoutMs);
    if (ready == 0 || (ready < 0 && errno == EINTR)) {
        return std::nullopt;
    }
    auto event = ready > 0 ? readMessage() : std::nullopt;
    if (!event) {
        closeSocket();
    }
    return event;
}

bool SwayIpc::reachable() {
    return request(getVersion, {}).has_value();
}

bool SwayIpc::command(std::string_view commands) {
    const auto reply = request(runCommand, commands);
    if (!reply) {
        return false;
    }
    const QJsonArray results = QJsonDocument::fromJson(QByteArray::fromStdString(*reply)).array();
    if (results.isEmpty()) {
        return false;
    }
    for (const QJsonValue& result : results) {
        if (!result.toObject().value("success").toBool()) {
            return false;
        }
    }
    return true;
}

std::string SwayIpc::focusedShell() {
    const auto reply = request(getTree, {});
    if (!reply) {
        return {};
    }
    const QJsonObject tree = QJsonDocument::fromJson(QByteArray::fromStdString(*reply)).object();
    return focusedNode(tree).value("shell").toString().toStdString();
}

}  // namespace pontrel
