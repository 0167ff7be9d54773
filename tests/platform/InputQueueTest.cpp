#include "platform/InputQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/InputClock.h"
#include "platform/InputService.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

KeyAction press(NamedKey key) {
    return {KeyAction::Kind::Press, key, 0};
}
KeyAction release(NamedKey key) {
    return {KeyAction::Kind::Release, key, 0};
}
KeyAction tap(NamedKey key) {
    return {KeyAction::Kind::Tap, key, 0};
}
KeyActions typed(std::u32string_view text) {
    KeyActions actions;
    for (char32_t c : text) {
        actions.push_back({KeyAction::Kind::Type, NamedKey::Enter, c});
    }
    return actions;
}
KeyActions operator+(KeyActions a, const KeyActions& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const char* buttonName(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return "Left";
        case MouseButton::Right:
            return "Right";
        case MouseButton::Middle:
            return "Middle";
    }
    return "?";
}

// Writes every call as a line. A run whose text contains '#' stops there until the work is
// cancelled, like a backend typing a long text; one containing '!' waits until the test lets it
// go, like a backend that hangs. A call named in `failOn` throws.
class RecordingSink : public InputSink {
public:
    void beginText(const KeyActions& text) override { log("begin " + std::to_string(text.size())); }
    void pressKey(NamedKey key) override { log("down " + keyName(key), "down " + keyName(key)); }
    void releaseKey(NamedKey key) override { log("up " + keyName(key)); }
    void typeCharacters(std::u32string_view run, const CancelCheck& cancelled) override {
        std::string text;
        for (char32_t c : run) {
            if (c == U'#' || c == U'!') {
                log("type " + text);
                enter();
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return c == U'#' ? cancelled() : letGo_; });
                return;
            }
            text += static_cast<char>(c);
        }
        log("type " + text);
    }
    void movePointer(ScreenPoint point) override {
        log("move " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    void pressButton(MouseButton button) override {
        log(std::string("down ") + buttonName(button));
    }
    void releaseButton(MouseButton button) override {
        log(std::string("up ") + buttonName(button));
    }
    void flush() override { log("flush"); }

    // Returns once a run has stopped at '#' or '!'.
    void waitUntilEntered() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return entered_; });
    }
    // Wakes a run stopped at '#' to look at its cancel check, or one at '!' to go on.
    void wake(bool letGo = false) {
        {
            const std::lock_guard lock(mutex_);
            letGo_ = letGo;
        }
        changed_.notify_all();
    }
    std::vector<std::string> calls() {
        const std::lock_guard lock(mutex_);
        return calls_;
    }

    std::string failOn;

private:
    void log(const std::string& line, const std::string& call = {}) {
        const std::lock_guard lock(mutex_);
        calls_.push_back(line);
        if (!call.empty() && call == failOn) {
            throw std::runtime_error("refused " + call);
        }
    }
    void enter() {
        {
            const std::lock_guard lock(mutex_);
            entered_ = true;
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> calls_;
    bool entered_ = false;
    bool letGo_ = false;
};

using Calls = std::vector<std::string>;

TEST(InputQueueTest, WorkIsDoneInOrderWithRunsOfCharactersAndButtonsInFlagOrder) {
    RecordingSink sink;
    {
        InputQueue queue(sink);
        queue.sendKeys(KeyActions{press(NamedKey::Shift)} + typed(U"ab") +
                       KeyActions{release(NamedKey::Shift), tap(NamedKey::Enter)} + typed(U"c"));
        queue.movePointer({10, 20});
        EXPECT_TRUE(queue.mouseEvent(mouseRightUp | mouseLeftDown | mouseMiddleDown).ok());
        queue.sendKeys({});
        for (const int refused : {0, 128, mouseLeftDown | 256}) {
            EXPECT_FALSE(queue.mouseEvent(refused).ok()) << refused;
        }
        queue.drain();
        EXPECT_EQ(sink.calls(), (Calls{"begin 6", "down Shift", "type ab", "up Shift", "down Enter",
                                       "up Enter", "type c", "flush", "move 10,20", "flush",
                                       "down Left", "up Right", "down Middle", "flush"}));
    }
    // Ending releases the buttons still down, the last pressed first.
    const Calls calls = sink.calls();
    EXPECT_EQ(Calls(calls.begin() + 14, calls.end()), (Calls{"up Middle", "up Left", "flush"}));
}

TEST(InputQueueTest, StopCutsTheTextShortDropsWhatWaitsAndReleasesWhatIsHeld) {
    RecordingSink sink;
    InputQueue queue(sink);
    queue.sendKeys(KeyActions{press(NamedKey::Ctrl), press(NamedKey::Alt)} + typed(U"x#y") +
                   KeyActions{tap(NamedKey::Tab)});
    queue.movePointer({1, 1});
    sink.waitUntilEntered();
    std::thread stopper([&] { queue.cancel(); });
    // The run looks at its cancel check only when woken; wake it until the stop has come.
    while (sink.calls().back() != "flush") {
        sink.wake();
        std::this_thread::yield();
    }
    stopper.join();
    EXPECT_EQ(sink.calls(), (Calls{"begin 6", "down Ctrl", "down Alt", "type x", "flush", "up Alt",
                                   "up Ctrl", "flush"}));

    // Work given after the stop is done as usual.
    queue.sendKeys(typed(U"ok"));
    queue.drain();
    EXPECT_EQ(sink.calls().back(), "flush");
    EXPECT_EQ(sink.calls()[sink.calls().size() - 2], "type ok");
}

TEST(InputQueueTest, DrainWaitsAtMostItsBoundAndCountsThePendingKeyActions) {
    RecordingSink sink;
    InputQueue queue(sink, {.cancel = 10ms, .drainBase = 20ms, .drainPerAction = 3ms});
    EXPECT_EQ(queue.drainTimeout(), 20ms);
    queue.sendKeys(typed(U"!"));
    sink.waitUntilEntered();
    queue.sendKeys(typed(U"abcd"));
    queue.movePointer({5, 5});
    EXPECT_EQ(queue.drainTimeout(), 20ms + 3ms * (1 + 4 + 1));

    // A hanging backend holds up neither a drain nor a stop for longer than the bound.
    queue.drain();
    queue.cancel();
    EXPECT_EQ(sink.calls(), (Calls{"begin 1", "type "}));
    sink.wake(true);
    queue.drain();
    EXPECT_EQ(sink.calls(), (Calls{"begin 1", "type ", "flush", "flush"}));
}

TEST(InputQueueTest, AFailingBackendCallKeepsTheKeyRecordedAndTheQueueWorking) {
    RecordingSink sink;
    sink.failOn = "down Enter";
    InputQueue queue(sink);
    queue.sendKeys(KeyActions{press(NamedKey::Shift), press(NamedKey::Enter)} + typed(U"lost"));
    queue.movePointer({3, 4});
    queue.drain();
    queue.cancel();
    EXPECT_EQ(sink.calls(), (Calls{"begin 6", "down Shift", "down Enter", "flush", "move 3,4",
                                   "flush", "up Enter", "up Shift", "flush"}));
}

// Virtual time that moves only when the sink takes time or the queue waits for a gap; a frozen
// clock never reaches the end of a gap.
class VirtualInputClock : public InputClock {
public:
    Time now() const override { return Time(std::chrono::milliseconds(ms)); }
    void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, Time until,
                   const std::function<bool()>& stop) override {
        if (frozen) {
            wake.wait(lock, stop);
        } else if (!stop()) {
            ms = std::max<std::int64_t>(ms, (until - Time()) / 1ms);
        }
    }

    std::atomic<std::int64_t> ms{0};
    bool frozen = false;
};

// Takes 7 ms for every call and writes down when each began.
class SlowSink : public InputSink {
public:
    explicit SlowSink(VirtualInputClock& clock) : clock_(clock) {}
    void pressKey(NamedKey) override {}
    void releaseKey(NamedKey) override {}
    void typeCharacters(std::u32string_view, const CancelCheck&) override {}
    void movePointer(ScreenPoint point) override { log("move " + std::to_string(point.x)); }
    void pressButton(MouseButton button) override {
        log(std::string("down ") + buttonName(button));
    }
    void releaseButton(MouseButton button) override {
        log(std::string("up ") + buttonName(button));
    }
    void flush() override {}

    Calls calls;

private:
    void log(const std::string& call) {
        calls.push_back(call + " at " + std::to_string(clock_.ms));
        clock_.ms += 7;
    }

    VirtualInputClock& clock_;
};

TEST(InputQueueTest, SpacedWorkStartsItsGapAfterTheDeliveryBeforeAndAStopCutsTheWait) {
    VirtualInputClock clock;
    SlowSink sink(clock);
    InputQueue queue(sink, {}, clock);
    queue.movePointer({1, 0});
    queue.spaceNext(50ms);
    queue.movePointer({2, 0});
    queue.spaceNext(50ms);
    // One piece of work for both flags, then one given without a gap: neither waits again.
    EXPECT_TRUE(queue.mouseEvent(mouseLeftDown | mouseLeftUp).ok());
    queue.movePointer({3, 0});
    queue.drain();
    // Long after the last delivery the gap has passed already.
    clock.ms += 500;
    queue.spaceNext(50ms);
    queue.movePointer({4, 0});
    queue.drain();
    EXPECT_EQ(sink.calls, (Calls{"move 1 at 0", "move 2 at 57", "down Left at 114",
                                 "up Left at 121", "move 3 at 128", "move 4 at 635"}));

    clock.frozen = true;
    queue.spaceNext(50ms);
    queue.movePointer({5, 0});
    EXPECT_EQ(queue.drainTimeout(), 2000ms + 15ms + 15ms + 50ms);
    queue.cancel();
    queue.movePointer({6, 0});
    queue.drain();
    EXPECT_EQ(sink.calls.back(), "move 6 at 642");
}

TEST(InputQueueTest, EndingWithWorkPendingCutsItShortAndReleasesWhatIsHeld) {
    RecordingSink sink;
    std::atomic<bool> ended{false};
    std::thread waker;
    {
        InputQueue queue(sink);
        EXPECT_TRUE(queue.mouseEvent(mouseLeftDown).ok());
        queue.sendKeys(KeyActions{press(NamedKey::Shift)} + typed(U"a#b"));
        queue.sendKeys(typed(U"never"));
        queue.movePointer({7, 7});
        sink.waitUntilEntered();
        // Lets the run see the stop that ending the queue gives.
        waker = std::thread([&] {
            while (!ended) {
                sink.wake();
                std::this_thread::yield();
            }
        });
    }
    ended = true;
    waker.join();
    EXPECT_EQ(sink.calls(), (Calls{"down Left", "flush", "begin 4", "down Shift", "type a", "flush",
                                   "up Shift", "up Left", "flush"}));
}

}  // namespace
}  // namespace pontrel
