#include "platform/kde/LinePace.h"

#include <algorithm>
#include <chrono>

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// The field's answer to a key is about four bytes per character of its line and 400 more, and its
// work grows with the line too; a gap of 2 microseconds per character of the line and 100 more
// keeps the answers near 2 MB/s, which KWin took in at a load of 8 on two cores.
constexpr auto gapPerCharacter = 2us;
constexpr auto gapPerKey = 100us;
// Time lost to a busy machine is made up only this far, so that no burst follows it.
constexpr auto catchUpLimit = 2ms;

}  // namespace

LinePace::LinePace(InputClock& clock) : clock_(clock) {}

void LinePace::beforeCharacter(char32_t character) {
    beforeKey();
    line_ = character == U'\n' || character == U'\r' ? 0 : line_ + 1;
}

void LinePace::beforeKey() {
    const InputClock::Time now = clock_.now();
    due_ = std::max(due_, now - catchUpLimit);
    if (due_ > now) {
        std::unique_lock lock(mutex_);
        clock_.waitUntil(lock, never_, due_, [] { return false; });
    }
    due_ += gapPerKey + gapPerCharacter * static_cast<long>(line_);
}

void LinePace::pasted(std::size_t count) {
    due_ = clock_.now();
    line_ += count;
}

void LinePace::startLine() {
    line_ = 0;
}

}  // namespace pontrel
