// Playback timing of the built program on a private 1920x1080 Xvfb with openbox, seen by a
// receiving Xlib window: the interval between pointer moves at base wait W = 50 ms by the
// server's timestamps (never below W), the time from a start hot key press to the first
// command's effect (W = 10 ms), and the time from a pixel change to the command after a pixel
// watch, less W.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "model/MacroFile.h"
// After the program's headers: Xlib defines Status and None.
#include "e2e/support/Desktop.h"
#include "e2e/support/PontrelApp.h"
#include "e2e/support/Wait.h"
#include "e2e/support/XlibReceiver.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace pontrel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using e2e::Point;

constexpr int hotKeyRuns = 30;
constexpr int watchRuns = 30;

std::string moveRecord(Point to) {
    return "code:|002|xpos:|" + std::to_string(to.x) + "|ypos:|" + std::to_string(to.y) + "|";
}

std::string settings(int baseWait, const char* start) {
    return "code:|000|wait:|" + std::to_string(baseWait) + "|loop:|0|start:|" + start +
           "|stop:|F3|";
}

// When the receiver first saw the pointer at `at` after `since`.
std::optional<e2e::TimePoint> arrivalAt(const e2e::XlibReceiver& receiver, Point at,
                                        e2e::TimePoint since, int timeoutMs) {
    std::optional<e2e::TimePoint> seen;
    e2e::waitUntil(
        [&] {
            for (const auto& motion : receiver.motions()) {
                if (motion.time >= since && motion.at == at) {
                    seen = motion.time;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, 1);
    return seen;
}

void xtestMove(Display* display, Point to) {
    XTestFakeMotionEvent(display, 0, to.x, to.y, CurrentTime);
    XSync(display, False);
}

void xtestKey(Display* display, KeySym key, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down ? True : False, CurrentTime);
    XSync(display, False);
}

void moveIntervals(const e2e::Desktop& desktop, const e2e::XlibReceiver& receiver, Point a, Point b,
                   const std::string& program) {
    constexpr int baseWait = 50;
    constexpr int moves = 200;
    std::vector<std::string> records{settings(baseWait, "no")};
    for (int i = 0; i < moves; ++i) {
        records.push_back(moveRecord(i % 2 == 0 ? a : b));
    }
    e2e::writeMacro(desktop, "bewegen.qmc", records);
    const e2e::TimePoint start = Clock::now();
    e2e::PontrelApp app(desktop, program, {"bewegen.qmc"});
    // The server's timestamps of the moves, which a busy receiver cannot blur.
    std::vector<::Time> arrivals;
    e2e::waitUntil(
        [&] {
            arrivals.clear();
            for (const auto& motion : receiver.motions()) {
                if (motion.time >= start && (motion.at == a || motion.at == b)) {
                    arrivals.push_back(motion.serverTime);
                }
            }
            return arrivals.size() >= moves;
        },
        moves * baseWait * 3, 20);
    std::vector<double> intervals;
    for (std::size_t i = 1; i < arrivals.size(); ++i) {
        intervals.push_back(static_cast<double>(arrivals[i] - arrivals[i - 1]));
    }
    const Figures f = figures(intervals);
    const double bound = baseWait + 10 + 1.5;
    std::printf(
        "moves, W = %d ms: %zu of %d arrived; interval min %.2f ms  median %.2f ms  p99 %.2f ms  "
        "(goal min >= W and p99 <= W + 10 + 1.5 = %.1f ms: %s; min/W %.3f, p99/bound %.2f)\n",
        baseWait, arrivals.size(), moves, f.min, f.median, f.p99, bound,
        verdict(arrivals.size() == moves && f.min >= baseWait && f.p99 <= bound), f.min / baseWait,
        f.p99 / bound);
}

void hotKeyReaction(const e2e::Desktop& desktop, const e2e::XlibReceiver& receiver, Point target,
                    Point away, const std::string& program) {
    e2e::writeMacro(desktop, "pontrel.qmc", {settings(10, "F2"), moveRecord(target)}, '1');
    e2e::PontrelApp app(desktop, program);
    app.window();
    e2e::pause(500);
    std::vector<double> reactions;
    for (int run = 0; run < hotKeyRuns; ++run) {
        xtestMove(desktop.x(), away);
        e2e::pause(100);
        const e2e::TimePoint pressed = Clock::now();
        xtestKey(desktop.x(), XK_F2, true);
        const auto seen = arrivalAt(receiver, target, pressed, 1000);
        std::this_thread::sleep_until(pressed + std::chrono::milliseconds(100));
        xtestKey(desktop.x(), XK_F2, false);
        if (seen) {
            reactions.push_back(millisecondsBetween(pressed, *seen));
        }
        e2e::pause(200);
    }
    const Figures f = figures(reactions);
    std::printf(
        "hot key, W = 10 ms: %zu of %d runs; press to first effect median %.2f ms  p99 %.2f ms  "
        "(goal median <= 30 ms: %s; median/goal %.2f)\n",
        f.count, hotKeyRuns, f.median, f.p99, verdict(f.count == hotKeyRuns && f.median <= 30),
        f.median / 30);
}

void pixelWatch(const e2e::Desktop& desktop, const e2e::XlibReceiver& receiver, Point target,
                Point away, const std::string& program) {
    constexpr int baseWait = 50;
    // Colours without the bytes that end the field the watch compares (0x0A, 0x0D, 0x2C).
    constexpr unsigned long before = 0x204080;
    constexpr unsigned long after = 0xE0C060;
    const e2e::XlibReceiver watched(e2e::Rect{1500, 100, 60, 60}, before);
    const e2e::Rect area = desktop.clientRect(watched.window());
    const Point pixel{area.x + 20, area.y + 20};
    e2e::writeMacro(desktop, "pontrel.qmc",
                    {settings(baseWait, "F2"),
                     "code:|010|xpos:|" + std::to_string(pixel.x) + "|ypos:|" +
                         std::to_string(pixel.y) + "|break:|0|",
                     moveRecord(target)},
                    '1');
    e2e::PontrelApp app(desktop, program);
    app.window();
    e2e::pause(500);
    std::vector<double> reactions;
    for (int run = 0; run < watchRuns; ++run) {
        desktop.paint(watched.window(), before);
        xtestMove(desktop.x(), away);
        xtestKey(desktop.x(), XK_F2, true);
        e2e::pause(100);
        xtestKey(desktop.x(), XK_F2, false);
        e2e::pause(400);  // the watch has taken its reference
        const e2e::TimePoint changed = Clock::now();
        desktop.paint(watched.window(), after);
        if (const auto seen = arrivalAt(receiver, target, changed, 2000)) {
            reactions.push_back(millisecondsBetween(changed, *seen) - baseWait);
        }
        e2e::pause(200);
    }
    const Figures f = figures(reactions);
    std::printf(
        "pixel watch, W = %d ms: %zu of %d runs; change to next command less W median %.2f ms  "
        "p99 %.2f ms  (goal median <= 15, p99 <= 30: %s; median/goal %.2f, p99/goal %.2f)\n",
        baseWait, f.count, watchRuns, f.median, f.p99,
        verdict(f.count == watchRuns && f.median <= 15 && f.p99 <= 30), f.median / 15, f.p99 / 30);
}

}  // namespace
}  // namespace pontrel::bench

int main() {
    const std::string program = PONTREL_PROGRAM;
    pontrel::e2e::Desktop desktop;
    const pontrel::e2e::XlibReceiver receiver(pontrel::e2e::Rect{100, 100, 1000, 800}, 0xC0C0C0);
    const pontrel::e2e::Rect area = desktop.clientRect(receiver.window());
    const pontrel::e2e::Point a{area.x + 100, area.y + 100};
    const pontrel::e2e::Point b{area.x + 200, area.y + 150};
    const pontrel::e2e::Point away{area.x + 500, area.y + 500};
    pontrel::bench::moveIntervals(desktop, receiver, a, b, program);
    pontrel::bench::hotKeyReaction(desktop, receiver, a, away, program);
    pontrel::bench::pixelWatch(desktop, receiver, b, away, program);
    return 0;
}
