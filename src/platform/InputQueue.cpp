#include "platform/InputQueue.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "platform/InputService.h"

namespace pontrel {

namespace {

struct ButtonMotion {
    MouseButton button;
    bool down;
};
using ButtonMotions = std::vector<ButtonMotion>;
struct ReleaseHeld {};
struct Spacing {
    std::chrono::milliseconds gap;
};
using Work = std::variant<KeyActions, ScreenPoint, ButtonMotions, ReleaseHeld, Spacing>;

struct ButtonFlag {
    int flag;
    ButtonMotion motion;
};
// Several flags in one event are sent in this order.
constexpr ButtonFlag buttonFlags[] = {
    {mouseLeftDown, {MouseButton::Left, true}},     {mouseLeftUp, {MouseButton::Left, false}},
    {mouseRightDown, {MouseButton::Right, true}},   {mouseRightUp, {MouseButton::Right, false}},
    {mouseMiddleDown, {MouseButton::Middle, true}}, {mouseMiddleUp, {MouseButton::Middle, false}},
};
constexpr int knownButtonFlags =
    mouseLeftDown | mouseLeftUp | mouseRightDown | mouseRightUp | mouseMiddleDown | mouseMiddleUp;

std::size_t weight(const Work& work) {
    const auto* keys = std::get_if<KeyActions>(&work);
    return keys != nullptr ? keys->size() : 1;
}

std::chrono::milliseconds gapOf(const Work& work) {
    const auto* spacing = std::get_if<Spacing>(&work);
    return spacing != nullptr ? spacing->gap : std::chrono::milliseconds(0);
}

// Runs one call into the sink; a failure is reported and leaves the queue working.
template <typename Call>
bool guarded(Call&& call) {
    try {
        call();
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "synthesized input failed: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "synthesized input failed\n");
    }
    return false;
}

template <typename Held>
void forget(std::vector<Held>& held, Held item) {
    const auto it = std::find(held.rbegin(), held.rend(), item);
    if (it != held.rend()) {
        held.erase(std::next(it).base());
    }
}

}  // namespace

struct InputQueue::State {
    State(InputSink& sink, InputQueueLimits limits, InputClock& clock)
        : sink(sink), limits(limits), clock(clock) {}

    void push(Work work);
    bool idleNow() const { return queue.empty() && busyWeight == 0; }
    void run();
    void perform(const Work& work, const CancelCheck& cancelled);
    void performInput(const Work& work, const CancelCheck& cancelled);
    void keepSpacing(std::chrono::milliseconds gap, const CancelCheck& cancelled);
    void typeKeys(const KeyActions& actions, const CancelCheck& cancelled);
    void moveButtons(const ButtonMotions& motions);
    void releaseHeld();

    InputSink& sink;
    const InputQueueLimits limits;
    InputClock& clock;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Work> queue;  // guarded by mutex, like the next four
    std::size_t busyWeight = 0;
    std::chrono::milliseconds busyGap{0};
    std::chrono::milliseconds nextGap{0};
    bool stopping = false;
    std::atomic<unsigned> generation{0};

    // What the work pressed and has not released, in press order, and when the sink last
    // delivered work (worker thread only).
    std::vector<NamedKey> heldKeys;
    std::vector<MouseButton> heldButtons;
    std::optional<InputClock::Time> deliveredAt;

    std::thread worker;
};

void InputQueue::State::push(Work work) {
    {
        const std::lock_guard lock(mutex);
        if (nextGap > std::chrono::milliseconds(0)) {
            queue.push_back(Spacing{std::exchange(nextGap, std::chrono::milliseconds(0))});
        }
        queue.push_back(std::move(work));
    }
    wake.notify_one();
}

void InputQueue::State::run() {
    for (;;) {
        Work work;
        unsigned started = 0;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty()) {
                break;
            }
            work = std::move(queue.front());
            queue.pop_front();
            busyWeight = weight(work);
            busyGap = gapOf(work);
            started = generation;
        }
        perform(work, [this, started] { return generation != started; });
        {
            const std::lock_guard lock(mutex);
            busyWeight = 0;
            busyGap = std::chrono::milliseconds(0);
        }
        idle.notify_all();
    }
    releaseHeld();
}

void InputQueue::State::perform(const Work& work, const CancelCheck& cancelled) {
    if (const auto* spacing = std::get_if<Spacing>(&work)) {
        keepSpacing(spacing->gap, cancelled);
        return;
    }
    if (std::holds_alternative<ReleaseHeld>(work)) {
        releaseHeld();
    } else {
        performInput(work, cancelled);
    }
    deliveredAt = clock.now();
}

void InputQueue::State::performInput(const Work& work, const CancelCheck& cancelled) {
    guarded([&] {
        if (const auto* keys = std::get_if<KeyActions>(&work)) {
            typeKeys(*keys, cancelled);
        } else if (const auto* point = std::get_if<ScreenPoint>(&work)) {
            sink.movePointer(*point);
        } else {
            moveButtons(std::get<ButtonMotions>(work));
        }
    });
    guarded([this] { sink.flush(); });
}

void InputQueue::State::keepSpacing(std::chrono::milliseconds gap, const CancelCheck& cancelled) {
    if (deliveredAt) {
        std::unique_lock lock(mutex);
        clock.waitUntil(lock, wake, *deliveredAt + gap, [&] { return stopping || cancelled(); });
    }
}

// A key is recorded as held before the sink is asked to press it and forgotten only once the
// sink released it, so a failing call leaves it to be released later rather than stuck.
void InputQueue::State::typeKeys(const KeyActions& actions, const CancelCheck& cancelled) {
    sink.beginText(actions);
    std::size_t i = 0;
    while (i < actions.size() && !cancelled()) {
        const KeyAction& action = actions[i];
        switch (action.kind) {
            case KeyAction::Kind::Press:
                if (std::find(heldKeys.begin(), heldKeys.end(), action.key) == heldKeys.end()) {
                    heldKeys.push_back(action.key);
                }
                sink.pressKey(action.key);
                break;
            case KeyAction::Kind::Release:
                sink.releaseKey(action.key);
                forget(heldKeys, action.key);
                break;
            case KeyAction::Kind::Tap:
                heldKeys.push_back(action.key);
                sink.pressKey(action.key);
                sink.releaseKey(action.key);
                forget(heldKeys, action.key);
                break;
            case KeyAction::Kind::Type: {
                std::u32string run;
                for (; i < actions.size() && actions[i].kind == KeyAction::Kind::Type; ++i) {
                    run += actions[i].character;
                }
                sink.typeCharacters(run, cancelled);
                continue;
            }
        }
        ++i;
    }
}

void InputQueue::State::moveButtons(const ButtonMotions& motions) {
    for (const ButtonMotion& motion : motions) {
        if (motion.down) {
            heldButtons.push_back(motion.button);
            sink.pressButton(motion.button);
        } else {
            sink.releaseButton(motion.button);
            forget(heldButtons, motion.button);
        }
    }
}

// Each release is tried on its own, so one that fails does not keep the others held.
void InputQueue::State::releaseHeld() {
    for (auto it = heldKeys.rbegin(); it != heldKeys.rend(); ++it) {
        guarded([&] { sink.releaseKey(*it); });
    }
    for (auto it = heldButtons.rbegin(); it != heldButtons.rend(); ++it) {
        guarded([&] { sink.releaseButton(*it); });
    }
    heldKeys.clear();
    heldButtons.clear();
    guarded([this] { sink.flush(); });
}

InputQueue::InputQueue(InputSink& sink, InputQueueLimits limits, InputClock& clock)
    : state_(std::make_unique<State>(sink, limits, clock)) {
    state_->worker = std::thread([state = state_.get()] { state->run(); });
}

InputQueue::~InputQueue() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->queue.clear();
        ++state_->generation;
        state_->stopping = true;
    }
    state_->wake.notify_all();
    state_->worker.join();
}

void InputQueue::sendKeys(const KeyActions& actions) {
    if (!actions.empty()) {
        state_->push(actions);
    }
}

void InputQueue::movePointer(ScreenPoint point) {
    state_->push(point);
}

Status InputQueue::mouseEvent(int flags) {
    if (flags == 0 || (flags & ~knownButtonFlags) != 0) {
        return Status::failure("unknown mouse flags " + std::to_string(flags));
    }
    ButtonMotions motions;
    for (const ButtonFlag& flag : buttonFlags) {
        if ((flags & flag.flag) != 0) {
            motions.push_back(flag.motion);
        }
    }
    state_->push(std::move(motions));
    return Status::success();
}

void InputQueue::spaceNext(std::chrono::milliseconds gap) {
    const std::lock_guard lock(state_->mutex);
    state_->nextGap = gap;
}

void InputQueue::cancel() {
    std::unique_lock lock(state_->mutex);
    state_->queue.clear();
    state_->nextGap = std::chrono::milliseconds(0);
    ++state_->generation;
    state_->queue.push_back(ReleaseHeld{});
    state_->wake.notify_one();
    state_->idle.wait_for(lock, state_->limits.cancel, [this] { return state_->idleNow(); });
}

void InputQueue::drain() {
    const auto timeout = drainTimeout();
    std::unique_lock lock(state_->mutex);
    state_->idle.wait_for(lock, timeout, [this] { return state_->idleNow(); });
}

std::chrono::milliseconds InputQueue::drainTimeout() const {
    const std::lock_guard lock(state_->mutex);
    std::size_t actions = state_->busyWeight;
    std::chrono::milliseconds gaps = state_->busyGap;
    for (const Work& work : state_->queue) {
        actions += weight(work);
        gaps += gapOf(work);
    }
    return state_->limits.drainBase +
           state_->limits.drainPerAction * static_cast<std::chrono::milliseconds::rep>(actions) +
           gaps;
}

}  // namespace pontrel
