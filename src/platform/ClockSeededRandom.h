#pragma once

#include <cstdint>

namespace pontrel {

// A uniform number in [0, 1) from a generator seeded afresh from the clock (and a draw count, so
// two draws within one clock tick still differ) before every draw.
class ClockSeededRandom {
public:
    double next();

private:
    std::uint64_t draws_ = 0;
};

}  // namespace pontrel
