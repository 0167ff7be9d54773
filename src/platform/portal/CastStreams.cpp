#include "platform/portal/CastStreams.h"

#include <tuple>
#include <utility>

#include <QDBusArgument>

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

}  // namespace pontrel
