#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace pontrel::e2e {

// Polls done() every stepMs until it holds or timeoutMs passed; returns done().
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs, int stepMs = 5) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return done();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    }
    return true;
}

inline void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace pontrel::e2e
