#include "platform/portal/CastSession.h"

#include <tuple>
#include <utility>

#include <fcntl.h>

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>

#include "platform/portal/PortalBus.h"

namespace pontrel {

namespace {

// A pair of ints (ii) as a stream property gives it.
std::pair<int, int> intPair(const QVariant& value) {
    int first = 0;
    int second = 0;
    const QDBusArgument argument = value.value<QDBusArgument>();
    argument.beginStructure();
    argument >> first >> second;
    argument.endStructure();
    return {first, second};
}

}  // namespace

std::vector<CastStream> castStreams(const QVariantMap& startResults) {
    std::vector<CastStream> found;
    const QDBusArgument streams =
        startResults.value(QStringLiteral("streams")).value<QDBusArgument>();
    streams.beginArray();
    while (!streams.atEnd()) {
        CastStream stream;
        QVariantMap properties;
        streams.beginStructure();
        streams >> stream.node >> properties;
        streams.endStructure();
        std::tie(stream.x, stream.y) = intPair(properties.value(QStringLiteral("position")));
        std::tie(stream.width, stream.height) = intPair(properties.value(QStringLiteral("size")));
        found.push_back(stream);
    }
    streams.endArray();
    return found;
}

int openPipeWireRemote(PortalBus& bus, const QString& session, std::string& error) {
    QVariantList replies;
    if (auto failed =
            bus.call(QStringLiteral("ScreenCast"), QStringLiteral("OpenPipeWireRemote"),
                     {QVariant::fromValue(QDBusObjectPath(session)), QVariantMap()}, &replies)) {
        error = *failed;
        return -1;
    }
    const auto descriptor = replies.isEmpty() ? QDBusUnixFileDescriptor()
                                              : replies.front().value<QDBusUnixFileDescriptor>();
    // The reply's descriptor closes with the reply: ours is a copy.
    const int remote =
        descriptor.isValid() ? fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
    if (remote < 0) {
        error = "OpenPipeWireRemote: the desktop gave no PipeWire connection";
    }
    return remote;
}

}  // namespace pontrel
