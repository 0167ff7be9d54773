// The built program at rest on a private 1920x1080 Xvfb with openbox: time from start to its
// mapped window, processor time over 60 s of idling with the window shown and a start key chosen,
// and resident memory.

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "e2e/support/Desktop.h"
#include "e2e/support/PontrelApp.h"
#include "e2e/support/Wait.h"

namespace pontrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int startRuns = 10;
constexpr int idleSeconds = 60;

// User plus system time of all its threads, in seconds.
double processorSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    // Fields after the command name, which is in parentheses and may hold blanks.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::vector<std::string> values;
    for (std::string value; fields >> value;) {
        values.push_back(value);
    }
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    const double ticks = std::stod(values.at(11)) + std::stod(values.at(12));
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A "Vm..." line of /proc/<pid>/status in megabytes.
double memoryMegabytes(pid_t pid, const std::string& key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(key + ":")) {
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
        }
    }
    return 0;
}

}  // namespace
}  // namespace pontrel::bench

int main() {
    using namespace pontrel;
    e2e::Desktop desktop;

    std::vector<double> starts;
    for (int run = 0; run < bench::startRuns; ++run) {
        const auto start = bench::Clock::now();
        e2e::PontrelApp app(desktop, PONTREL_PROGRAM);
        if (app.window() != 0) {
            starts.push_back(bench::millisecondsBetween(start, bench::Clock::now()));
        }
    }
    const bench::Figures start = bench::figures(starts);
    std::printf(
        "start to mapped window: %zu of %d runs; median %.1f ms  p99 %.1f ms  (goal <= 400 ms: "
        "%s; median/goal %.2f)\n",
        start.count, bench::startRuns, start.median, start.p99,
        bench::verdict(start.count == bench::startRuns && start.median <= 400), start.median / 400);

    // The default macro file, loaded at start, chooses F5 as the start key.
    e2e::writeMacro(desktop, "pontrel.qmc",
                    {"code:|000|wait:|500|loop:|0|start:|F5|stop:|ESC|", "code:|001|wait:|0|"},
                    '1');
    e2e::PontrelApp app(desktop, PONTREL_PROGRAM);
    app.window();
    e2e::pause(2000);
    const pid_t pid = app.process().pid();
    const double before = bench::processorSeconds(pid);
    const auto idleStart = bench::Clock::now();
    e2e::pause(bench::idleSeconds * 1000);
    const double used = bench::processorSeconds(pid) - before;
    const double seconds = bench::millisecondsBetween(idleStart, bench::Clock::now()) / 1000.0;
    const double percent = 100.0 * used / seconds;
    const double resident = bench::memoryMegabytes(pid, "VmRSS");
    const double peak = bench::memoryMegabytes(pid, "VmHWM");
    std::printf(
        "idle %.0f s: processor %.3f s = %.3f %% of one core  (goal <= 0.1 %%: %s; "
        "ratio to goal %.2f)\n",
        seconds, used, percent, bench::verdict(percent <= 0.1), percent / 0.1);
    std::printf("resident memory %.1f MB, peak %.1f MB  (goal <= 60 MB: %s; ratio to goal %.2f)\n",
                resident, peak, bench::verdict(resident <= 60), resident / 60);
    return 0;
}
