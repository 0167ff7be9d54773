// The Wayland figures in a private headless sway (1920x1080, XWayland), each beside its peer
// measured in the same run: 1000 mixed German characters typed through the wlroots input
// service into a native Wayland and an XWayland Qt field, against wtype into the native one; a
// full-screen BMP screenshot through screencopy, against grim; the time from a pixel change to
// the command after the built program's pixel watch, less W.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchFigures.h"
#include "GermanText.h"
#include "ReceivedText.h"
#include "TypingErrors.h"
#include "engine/KeyTextParser.h"
#include "model/MacroFile.h"
#include "platform/InputQueue.h"
#include "platform/qt/QtPictureWriter.h"
#include "platform/wayland/SwayIpc.h"
#include "platform/wayland/WlrInputSink.h"
#include "platform/wayland/WlrScreenCapture.h"
#include "support/wayland/SwaySession.h"

namespace pontrel::bench {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int typingRuns = 3;
constexpr int captureRuns = 30;
constexpr int grimRuns = 10;
constexpr int watchRuns = 20;

double msSince(Clock::time_point start) {
    return millisecondsBetween(start, Clock::now());
}

// A fresh Qt field with the focus; `type` starts typing. Timed from the start to the last
// change of the field.
TypingRun typeInto(test::SwaySession& session, const char* platform, const std::u32string& sent,
                   const std::function<void()>& type) {
    static int fieldNumber = 0;
    const std::string file = session.folder() + "/field" + std::to_string(++fieldNumber) + ".txt";
    auto field = session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", platform}},
                               "field" + std::to_string(fieldNumber));
    if (!session.waitForFocus(field->pid())) {
        std::printf("    the field did not get the focus\n");
        return {0, {0, static_cast<int>(sent.size()), 0, 0}};
    }
    std::this_thread::sleep_for(300ms);  // the field asks for the keyboard only now
    const Clock::time_point start = Clock::now();
    type();
    return receivedRun(file, sent, start);
}

void typing(test::SwaySession& session) {
    const std::string text = germanText();
    const std::u32string sent = characters(text);
    const KeyActions actions = parseKeyText(keyText(text)).actions;
    SwayIpc focus(session.swaySocket());
    WlrInputSink sink(&focus);
    InputQueue queue(sink);
    const auto typeOurs = [&] { queue.sendKeys(actions); };
    std::unique_ptr<test::SessionProcess> wtypeProcess;
    const auto typeWtype = [&] {
        wtypeProcess = session.start({"wtype", "--", text}, {}, "wtype");
    };

    std::vector<TypingRun> native;
    std::vector<TypingRun> xwayland;
    std::vector<TypingRun> peer;
    for (int run = 0; run < typingRuns; ++run) {
        native.push_back(typeInto(session, "wayland", sent, typeOurs));
        xwayland.push_back(typeInto(session, "xcb", sent, typeOurs));
        peer.push_back(typeInto(session, "wayland", sent, typeWtype));
    }
    std::printf("typing, %d runs of %d characters, layout de\n", typingRuns, germanTextLength);
    const TypingSummary ours = summarise(native);
    const TypingSummary theirs = summarise(peer);
    const TypingSummary viaX = summarise(xwayland);
    printTyping("Pontrel, native", ours, germanTextLength);
    printTyping("wtype, native", theirs, germanTextLength);
    printTyping("Pontrel, XWayland", viaX, germanTextLength);
    const double ratio = theirs.figures.median / ours.figures.median;
    const double xwaylandRate = germanTextLength * 1000.0 / viaX.figures.median;
    std::printf(
        "    native: wtype/Pontrel %.2fx (goal >= 1, exact: %s); XWayland %.0f chars/s (goal >= "
        "400, exact: %s)\n",
        ratio, verdict(ratio >= 1 && ours.errors.total() == 0), xwaylandRate,
        verdict(xwaylandRate >= 400 && viaX.errors.total() == 0));
}

Figures timed(int runs, const std::function<bool()>& work, bool& ok) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        ok &= work();
        ms.push_back(msSince(start));
    }
    return figures(ms);
}

void screenshot(test::SwaySession& session) {
    QtPictureWriter pictures;
    WlrScreenCapture screen(pictures);
    const std::string bmp = session.folder() + "/shot.bmp";
    bool ok = screen.usable();
    const Figures capture = timed(
        captureRuns, [&] { return !screen.capture(0, 0, 1920, 1080).empty(); }, ok);
    const Figures ours = timed(
        captureRuns,
        [&] { return screen.writeBitmapFile(screen.capture(0, 0, 1920, 1080), bmp).ok(); }, ok);
    const Figures grim = timed(
        grimRuns,
        [&] {
            return session.start({"grim", "-t", "ppm", "grim.ppm"}, {}, "grim")->waitExit(10000) ==
                   0;
        },
        ok);
    std::printf("screenshot 1920x1080: capture alone median %.2f ms  p99 %.2f ms\n", capture.median,
                capture.p99);
    std::printf(
        "screenshot 1920x1080: capture + BMP median %.2f ms  p99 %.2f ms | grim -t ppm median "
        "%.1f ms  p99 %.1f ms | grim/ours %.1fx  (goal <= 40 ms and <= grim: %s)\n",
        ours.median, ours.p99, grim.median, grim.p99, grim.median / ours.median,
        verdict(ok && ours.median <= 40 && ours.median <= grim.median));
}

void pixelWatch(test::SwaySession& session) {
    constexpr int baseWait = 50;
    const std::string log = session.folder() + "/watched.times";
    auto window =
        session.start({PONTREL_WATCHED_WINDOW, log}, {{"QT_QPA_PLATFORM", "wayland"}}, "watched");
    if (!session.waitForFocus(window->pid())) {
        std::printf("pixel watch: the watched window did not show: %s\n",
                    test::readFile(window->logFile()).c_str());
        return;
    }
    // The left half of the screen stays the watched window's when the program's window comes.
    const std::string at = "xpos:|200|ypos:|540|";
    std::string macro = encodeMacroFile(
        {"code:|000|wait:|" + std::to_string(baseWait) + "|loop:|" + std::to_string(watchRuns + 1) +
             "|start:|no|stop:|ESC|",
         "code:|002|" + at, "code:|010|" + at + "break:|0|", "code:|003|mouseclick:|left|"});
    std::ofstream(session.folder() + "/watch.qmc", std::ios::binary) << macro;
    auto program = session.start({PONTREL_PROGRAM, "watch.qmc"}, {}, "pontrel");
    std::this_thread::sleep_for(3s);  // started, and the first pass watches

    std::vector<double> reactions;
    for (int run = 0; run < watchRuns; ++run) {
        window->kill(SIGUSR1);
        const bool seen = test::eventually(
            [&] {
                return loggedTimes(log, "press").size() > static_cast<std::size_t>(run) &&
                       loggedTimes(log, "paint").size() > static_cast<std::size_t>(run);
            },
            3s);
        if (!seen) {
            std::printf("pixel watch: no click after change %d; %s\n", run + 1,
                        test::readFile(program->logFile()).c_str());
            break;
        }
        const auto presses = loggedTimes(log, "press");
        const auto paints = loggedTimes(log, "paint");
        reactions.push_back(millisecondsBetween(paints[static_cast<std::size_t>(run)],
                                                presses[static_cast<std::size_t>(run)]) -
                            baseWait);
        std::this_thread::sleep_for(400ms);  // the next pass has taken its reference
    }
    const Figures f = figures(reactions);
    std::printf(
        "pixel watch, W = %d ms: %zu of %d runs; change to next command less W median %.2f ms  "
        "p99 %.2f ms  (goal median <= 25 ms: %s)\n",
        baseWait, f.count, watchRuns, f.median, f.p99,
        verdict(f.count == watchRuns && f.median <= 25));
}

}  // namespace
}  // namespace pontrel::bench

// Runs the parts named on the command line (typing, screenshot, watch), all without one.
int main(int argc, char** argv) {
    const std::vector<std::string> parts(argv + 1, argv + argc);
    const auto wanted = [&](const std::string& part) {
        return parts.empty() || std::find(parts.begin(), parts.end(), part) != parts.end();
    };
    pontrel::test::SwaySession session("de");
    if (wanted("typing")) {
        pontrel::bench::typing(session);
    }
    if (wanted("screenshot")) {
        pontrel::bench::screenshot(session);
    }
    if (wanted("watch")) {
        pontrel::bench::pixelWatch(session);
    }
    return 0;
}
