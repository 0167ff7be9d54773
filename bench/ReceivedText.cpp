#include "ReceivedText.h"

#include <sstream>
#include <thread>

#include "GermanText.h"
#include "support/wayland/PrivateSession.h"

namespace pontrel::bench {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<Clock::time_point> loggedTimes(const std::string& file, const std::string& kind) {
    std::vector<Clock::time_point> times;
    std::istringstream lines(test::readFile(file));
    std::string word;
    long long ns = 0;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        if (!kind.empty() && !(fields >> word && word == kind)) {
            continue;
        }
        if (fields >> ns) {
            times.push_back(Clock::time_point(std::chrono::nanoseconds(ns)));
        }
    }
    return times;
}

TypingRun receivedRun(const std::string& file, const std::u32string& sent,
                      Clock::time_point start) {
    constexpr auto quiet = 3s;  // no new character for this long: the rest is missing
    std::size_t changes = 0;
    Clock::time_point changed = Clock::now();
    while (characters(test::readFile(file)) != sent && Clock::now() - changed < quiet) {
        std::this_thread::sleep_for(10ms);
        const std::size_t now = loggedTimes(file + ".times").size();
        if (now != changes) {
            changes = now;
            changed = Clock::now();
        }
    }
    std::this_thread::sleep_for(300ms);  // anything extra after the last expected character
    const auto times = loggedTimes(file + ".times");
    return {times.empty() ? 0 : millisecondsBetween(start, times.back()),
            compareTyped(sent, characters(test::readFile(file)))};
}

}  // namespace pontrel::bench
