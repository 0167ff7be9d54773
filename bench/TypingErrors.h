#pragma once

#include <string>
#include <vector>

#include "BenchFigures.h"

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

// One run: from the start of typing to the last character received, and what went wrong.
struct TypingRun {
    double ms = 0;
    TypingErrors errors;
};

struct TypingSummary {
    Figures figures;
    TypingErrors errors;  // of all runs
};

TypingSummary summarise(const std::vector<TypingRun>& runs);
// One line: median, p99, characters a second of `length` characters, and the errors.
void printTyping(const char* who, const TypingSummary& summary, int length);

}  // namespace pontrel::bench
