#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace pontrel::bench {

struct Figures {
    double min = 0;
    double median = 0;
    double p99 = 0;
    std::size_t count = 0;
};

// Minimum, median and 99th percentile (nearest rank) of samples in milliseconds.
inline Figures figures(std::vector<double> ms) {
    if (ms.empty()) {
        return {};
    }
    std::sort(ms.begin(), ms.end());
    const auto p99 = static_cast<std::size_t>(static_cast<double>(ms.size() - 1) * 0.99 + 0.5);
    return {ms.front(), ms[ms.size() / 2], ms[p99], ms.size()};
}

inline double millisecondsBetween(std::chrono::steady_clock::time_point from,
                                  std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

inline const char* verdict(bool met) {
    return met ? "goal met" : "GOAL MISSED";
}

}  // namespace pontrel::bench
