// Types a 1000-character mixed German text into a plain Xlib window and into a Qt text field
// on a private 1920x1080 Xvfb, once with Pontrel's X11 input service and once with
// `xdotool type --delay 0`, under the German and the US layout. Times each run from the start
// of typing to the last character received and counts wrong, missing, extra and reordered
// characters.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "GermanText.h"
#include "TypingErrors.h"
#include "engine/KeyTextParser.h"
#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11InputService.h"
#include "platform/x11/X11KeyState.h"
// After the program's headers: Xlib defines Status and None.
#include "e2e/support/Desktop.h"
#include "e2e/support/QtReceiver.h"
#include "e2e/support/Wait.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::bench {
namespace {

using e2e::TimePoint;
using Clock = std::chrono::steady_clock;

constexpr int runs = 5;
constexpr int quietMs = 3000;  // no new character for this long: the rest is missing

// What arrived since typing started and when the last character came.
struct Arrival {
    std::u32string text;
    TimePoint last;
};

class Receiver {
public:
    virtual ~Receiver() = default;
    virtual Window window() const = 0;
    virtual Arrival arrived() const = 0;
};

class XlibTarget : public Receiver {
public:
    XlibTarget() : receiver_(e2e::Rect{700, 300, 600, 300}, 0xFFFFFF) {}
    Window window() const override { return receiver_.window(); }
    Arrival arrived() const override {
        Arrival arrival;
        for (const auto& key : receiver_.keys()) {
            if (!key.text.empty()) {
                arrival.text += characters(key.text);
                arrival.last = key.at;
            }
        }
        return arrival;
    }

private:
    e2e::XlibReceiver receiver_;
};

class QtTarget : public Receiver {
public:
    explicit QtTarget(const e2e::Desktop& desktop) : receiver_(desktop, PONTREL_QT_RECEIVER) {}
    Window window() const override { return receiver_.window(); }
    Arrival arrived() const override {
        const auto changes = receiver_.changes();
        return {characters(receiver_.text()), changes.empty() ? TimePoint{} : changes.back().at};
    }

private:
    e2e::QtReceiver receiver_;
};

TypingRun measure(const e2e::Desktop& desktop, bool qt, const std::u32string& sent,
                  const std::function<void()>& type) {
    std::unique_ptr<Receiver> receiver;
    if (qt) {
        receiver = std::make_unique<QtTarget>(desktop);
    } else {
        receiver = std::make_unique<XlibTarget>();
    }
    desktop.focus(receiver->window());
    e2e::pause(200);
    const TimePoint start = Clock::now();
    type();
    Arrival arrival;
    std::size_t seen = 0;
    TimePoint changed = Clock::now();
    while (arrival.text.size() < sent.size() &&
           Clock::now() - changed < std::chrono::milliseconds(quietMs)) {
        e2e::pause(10);
        arrival = receiver->arrived();
        if (arrival.text.size() != seen) {
            seen = arrival.text.size();
            changed = Clock::now();
        }
    }
    e2e::pause(300);  // anything extra after the last expected character
    arrival = receiver->arrived();
    return {millisecondsBetween(start, arrival.last), compareTyped(sent, arrival.text)};
}

bool benchLayout(const std::string& layout) {
    e2e::Desktop desktop(layout);
    X11KeyState keyState;
    X11InputBlocker blocker;
    X11InputService input(keyState, blocker);
    const std::string text = germanText();
    const std::u32string sent = characters(text);
    const KeyActions actions = parseKeyText(keyText(text)).actions;

    bool met = true;
    for (const bool qt : {false, true}) {
        std::vector<TypingRun> ours;
        std::vector<TypingRun> xdotool;
        for (int run = 0; run < runs; ++run) {
            ours.push_back(
                measure(desktop, qt, sent, [&] { static_cast<void>(input.sendKeys(actions)); }));
            xdotool.push_back(measure(desktop, qt, sent, [&] {
                e2e::runTool({"xdotool", "type", "--delay", "0", text}, 60000);
            }));
        }
        const TypingSummary o = summarise(ours);
        const TypingSummary x = summarise(xdotool);
        std::printf("  layout %s, %s receiver, %d runs of %d characters\n", layout.c_str(),
                    qt ? "Qt text field" : "Xlib window", runs, germanTextLength);
        printTyping("Pontrel", o, germanTextLength);
        printTyping("xdotool", x, germanTextLength);
        const double ratio = x.figures.median / o.figures.median;
        const bool fastEnough =
            layout == "de" ? ratio >= 1.0 : germanTextLength * 1000.0 / o.figures.median >= 1000;
        const bool ok = fastEnough && o.errors.total() == 0;
        std::printf("    xdotool/Pontrel %.2fx  (%s)\n", ratio, verdict(ok));
        met &= ok;
    }
    return met;
}

}  // namespace
}  // namespace pontrel::bench

int main() {
    XInitThreads();
    std::printf("typing: goal de >= xdotool speed, us >= 1000 chars/s, zero errors\n");
    pontrel::bench::benchLayout("de");
    pontrel::bench::benchLayout("us");
    return 0;
}
