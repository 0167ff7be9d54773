// Typing on GNOME and KDE Plasma: 1000 mixed German characters into a native Qt field in a
// private headless mutter or kwin_wayland, under the us layout (umlauts, ß and € come through a
// paste) and the de layout. Usage: desktop_typing_bench gnome|kde

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "GermanText.h"
#include "ReceivedText.h"
#include "TypingErrors.h"
#include "engine/KeyTextParser.h"
#include "platform/InputQueue.h"
#include "platform/gnome/MutterInputSink.h"
#include "platform/kde/KWinInputSink.h"
#include "support/wayland/KWinSession.h"
#include "support/wayland/MutterSession.h"

namespace pontrel::bench {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int typingRuns = 3;

// A fresh Qt field; a key typed and taken back until it changes shows it has the focus.
template <typename Session>
TypingRun typeInto(Session& session, InputQueue& queue, const KeyActions& actions,
                   const std::u32string& sent, int run) {
    const std::string file = session.folder() + "/field" + std::to_string(run) + ".txt";
    auto field = session.start({PONTREL_QT_RECEIVER, file}, {{"QT_QPA_PLATFORM", "wayland"}},
                               "field" + std::to_string(run));
    const bool focused = test::eventually(
        [&] {
            queue.sendKeys(parseKeyText("x{BS}").actions);
            queue.drain();
            return test::eventually([&] { return !test::readFile(file + ".times").empty(); },
                                    300ms);
        },
        15s);
    if (!focused || !test::eventually([&] { return test::readFile(file).empty(); }, 5s)) {
        std::printf("    the field did not get the focus\n");
        return {0, {0, static_cast<int>(sent.size()), 0, 0}};
    }
    const Clock::time_point start = Clock::now();
    queue.sendKeys(actions);
    return receivedRun(file, sent, start);
}

template <typename Session, typename Sink>
void typing(const char* desktop, const std::string& layout) {
    const std::string text = germanText();
    const std::u32string sent = characters(text);
    const KeyActions actions = parseKeyText(keyText(text)).actions;
    Session session(layout);
    Sink sink;
    if (!sink.usable()) {
        std::printf("%s, layout %s: no input service\n", desktop, layout.c_str());
        return;
    }
    InputQueue queue(sink);
    std::vector<TypingRun> runs;
    for (int run = 0; run < typingRuns; ++run) {
        runs.push_back(typeInto(session, queue, actions, sent, run));
        queue.drain();
    }
    const TypingSummary summary = summarise(runs);
    const std::string who = std::string(desktop) + ", layout " + layout;
    printTyping(who.c_str(), summary, germanTextLength);
    const double rate = germanTextLength * 1000.0 / summary.figures.median;
    std::printf("    %d runs of %d characters (goal >= 400 chars/s, exact: %s)\n", typingRuns,
                germanTextLength, verdict(rate >= 400 && summary.errors.total() == 0));
}

}  // namespace
}  // namespace pontrel::bench

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::string desktop = argc > 1 ? argv[1] : "";
    for (const char* layout : {"us", "de"}) {
        if (desktop == "gnome") {
            pontrel::bench::typing<pontrel::test::MutterSession, pontrel::MutterInputSink>("GNOME",
                                                                                           layout);
        } else if (desktop == "kde") {
            pontrel::bench::typing<pontrel::test::KWinSession, pontrel::KWinInputSink>("KDE Plasma",
                                                                                       layout);
        } else {
            std::fprintf(stderr, "usage: %s gnome|kde\n", argv[0]);
            return 2;
        }
    }
    return 0;
}
