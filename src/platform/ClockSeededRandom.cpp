#include "platform/ClockSeededRandom.h"

#include <chrono>
#include <cmath>
#include <random>

namespace pontrel {

double ClockSeededRandom::next() {
    const auto now = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    ++draws_;
    std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                       static_cast<std::uint32_t>(draws_)};
    std::mt19937_64 generator(seed);
    const double value = std::uniform_real_distribution<double>(0.0, 1.0)(generator);
    // Some library versions can round up to exactly 1.
    return value < 1.0 ? value : std::nextafter(1.0, 0.0);
}

}  // namespace pontrel
