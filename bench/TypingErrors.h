#pragma once

#include <string>
#include <vector>

namespace pontrel::bench {

// How a received text differs from the one sent, by the cheapest alignment of the two:
// a character replaced (wrong), left out (missing), added (extra) or swapped with its neighbour
// (reordered).
struct TypingErrors {
    int wrong = 0;
    int missing = 0;
    int extra = 0;
    int reordered = 0;

    int total() const { return wrong + missing + extra + reordered; }
};

TypingErrors compareTyped(const std::u32string& sent, const std::u32string& received);

}  // namespace pontrel::bench
