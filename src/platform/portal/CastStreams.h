#pragma once

#include <cstdint>
#include <vector>

#include <QVariantMap>

namespace pontrel {

// A screen-cast stream of one monitor: its PipeWire node and where the monitor lies, in
// logical pixels.
struct CastStream {
    std::uint32_t node = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The streams in the results of a session's Start.
std::vector<CastStream> castStreams(const QVariantMap& startResults);

}  // namespace pontrel
