#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "TypingErrors.h"

namespace pontrel::bench {

// The times a receiver logged, one a line: "<monotonic ns> ..." or, with a kind,
// "<kind> <monotonic ns>".
std::vector<std::chrono::steady_clock::time_point> loggedTimes(const std::string& file,
                                                               const std::string& kind = {});

// Waits until the Qt field writing to `file` holds `sent` or has not changed for a while, and
// times the run from `start` to the field's last change.
TypingRun receivedRun(const std::string& file, const std::u32string& sent,
                      std::chrono::steady_clock::time_point start);

}  // namespace pontrel::bench
