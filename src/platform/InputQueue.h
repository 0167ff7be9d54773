#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/InputClock.h"
#include "platform/KeyAction.h"
#include "platform/MouseButton.h"
#include "platform/ScreenPoint.h"
#include "platform/Status.h"

namespace pontrel {

// Asked by a sink between the characters of a long run: true once it is to stop early.
using CancelCheck = std::function<bool()>;

// What a backend does with synthesized input. The queue calls it from its worker thread only,
// one call at a time, in the order the work was given. A call may throw: the queue then drops
// the rest of that piece of work, keeps its record of what is held and goes on.
class InputSink {
public:
    virtual ~InputSink() = default;

    // A key text is about to be worked. A backend that prepares keys for a whole text (say,
    // characters its layout lacks) does it here; the others ignore it.
    virtual void beginText(const KeyActions& text) { (void)text; }
    virtual void pressKey(NamedKey key) = 0;
    virtual void releaseKey(NamedKey key) = 0;
    // Types the characters with the keys pressed so far held; a backend adds whatever its layout
    // needs for each. It may stop early once `cancelled` returns true.
    virtual void typeCharacters(std::u32string_view run, const CancelCheck& cancelled) = 0;
    // Screen pixels as the caller gave them; the backend clamps them to what it can reach.
    virtual void movePointer(ScreenPoint point) = 0;
    virtual void pressButton(MouseButton button) = 0;
    virtual void releaseButton(MouseButton button) = 0;
    // Ends a piece of work, cut short or not: delivers what the backend buffered. A backend may
    // also release here what it pressed for that text alone; the queue asks it to release the
    // keys it records as held afterwards all the same, which must then do nothing.
    virtual void flush() = 0;
};

// How long a stop and a drain wait for the worker at most.
struct InputQueueLimits {
    std::chrono::milliseconds cancel{2000};
    std::chrono::milliseconds drainBase{2000};
    // Text whose characters all need preparing takes up to about this long per key action.
    std::chrono::milliseconds drainPerAction{15};
};

// The one ordered queue of synthesized input above every backend: key texts, pointer moves and
// button events are worked by a thread of its own, so the caller returns at once. It records
// every key and button the work pressed and has not released, and releases them on a stop and
// when it ends.
class InputQueue {
public:
    explicit InputQueue(InputSink& sink, InputQueueLimits limits = {},
                        InputClock& clock = steadyInputClock());
    // Drops the pending work, cuts the current piece short and releases what is held.
    ~InputQueue();
    InputQueue(const InputQueue&) = delete;
    InputQueue& operator=(const InputQueue&) = delete;

    void sendKeys(const KeyActions& actions);
    void movePointer(ScreenPoint point);
    // Mouse event flags of the design; a zero or unknown flag sends nothing and fails.
    Status mouseEvent(int flags);
    // The work given next is started no sooner than `gap` after the work before it was
    // delivered, however long the sink took for that; a stop cuts the wait short.
    void spaceNext(std::chrono::milliseconds gap);

    // A stop by the user: drops the pending work, cuts the current piece short and releases
    // every key and button held; waits for that at most limits.cancel.
    void cancel();
    // The natural end of a run or a write that must not overtake the input: waits until all the
    // work is done, at most drainTimeout() of what is pending. Held keys stay held.
    void drain();
    // drainBase plus drainPerAction for every key action pending (other work counts one) plus
    // the gaps pending.
    std::chrono::milliseconds drainTimeout() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pontrel
