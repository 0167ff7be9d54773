#include "platform/win/WinInputService.h"

#include <chrono>

#include "platform/win/KeyInputs.h"
#include "platform/win/WideText.h"

namespace pontrel {

namespace {

// Sent in slices, so that a stop takes effect within one slice.
constexpr std::size_t sliceSize = 64;
// How long a drain or a stop waits for the worker at most.
constexpr auto drainLimit = std::chrono::seconds(5);

// The design's mouse flags are those of mouse_event and SendInput: 2/4 left, 8/16 right,
// 32/64 middle.
constexpr int knownMouseFlags =
    mouseLeftDown | mouseLeftUp | mouseRightDown | mouseRightUp | mouseMiddleDown | mouseMiddleUp;

DWORD releaseOf(DWORD downFlag) {
    return downFlag << 1;
}

}  // namespace

WinInputService::WinInputService() : layout_(GetKeyboardLayout(0)), worker_([this] { run(); }) {}

WinInputService::~WinInputService() {
    cancelQueuedInput();
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

std::uint16_t WinInputService::asyncKeyState(int virtualKey) {
    return static_cast<std::uint16_t>(GetAsyncKeyState(virtualKey)) &
           (keyDownNow | keyPressedSinceLastQuery);
}

ScreenPoint WinInputService::cursorPos() {
    POINT point{};
    if (!GetCursorPos(&point)) {
        return {};
    }
    return {point.x, point.y};
}

Status WinInputService::setCursorPos(int x, int y) {
    enqueue(POINT{x, y});
    return Status::success();
}

Status WinInputService::mouseEvent(int flags) {
    if (flags == 0 || (flags & ~knownMouseFlags) != 0) {
        return Status::failure("unknown mouse flags " + std::to_string(flags));
    }
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = static_cast<DWORD>(flags);
    enqueue(std::vector<INPUT>{input});
    return Status::success();
}

Status WinInputService::sendKeys(const KeyActions& actions) {
    KeyInputs keys(layout_);
    keys.add(actions);
    if (!keys.inputs().empty()) {
        enqueue(keys.inputs());
    }
    return Status::success();
}

Status WinInputService::blockInput(bool block) {
    if (!BlockInput(block ? TRUE : FALSE)) {
        return Status::failure(lastErrorText("BlockInput"));
    }
    return Status::success();
}

void WinInputService::cancelQueuedInput() {
    std::unique_lock lock(mutex_);
    queue_.clear();
    cancel_ = true;
    changed_.notify_all();
    waitIdle(lock);
    cancel_ = false;
    busy_ = true;
    lock.unlock();
    // The worker is idle now, so its held keys can be released from here.
    releaseHeldKeys();
    lock.lock();
    busy_ = false;
}

void WinInputService::drainQueuedInput() {
    std::unique_lock lock(mutex_);
    waitIdle(lock);
}

bool WinInputService::waitIdle(std::unique_lock<std::mutex>& lock) {
    return changed_.wait_for(lock, drainLimit, [this] { return queue_.empty() && !busy_; });
}

void WinInputService::enqueue(Work work) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    changed_.notify_all();
}

void WinInputService::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_) {
            return;
        }
        Work work = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        if (const auto* point = std::get_if<POINT>(&work)) {
            SetCursorPos(point->x, point->y);
        } else {
            send(std::get<std::vector<INPUT>>(work));
        }
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void WinInputService::send(const std::vector<INPUT>& inputs) {
    for (std::size_t start = 0; start < inputs.size(); start += sliceSize) {
        {
            const std::lock_guard lock(mutex_);
            if (cancel_) {
                return;
            }
        }
        const std::size_t count = std::min(sliceSize, inputs.size() - start);
        std::vector<INPUT> slice(inputs.begin() + static_cast<std::ptrdiff_t>(start),
                                 inputs.begin() + static_cast<std::ptrdiff_t>(start + count));
        SendInput(static_cast<UINT>(slice.size()), slice.data(), sizeof(INPUT));
        for (const INPUT& input : slice) {
            if (input.type == INPUT_KEYBOARD && (input.ki.dwFlags & KEYEVENTF_UNICODE) == 0) {
                if ((input.ki.dwFlags & KEYEVENTF_KEYUP) != 0) {
                    heldKeys_.erase(input.ki.wVk);
                } else {
                    heldKeys_.insert(input.ki.wVk);
                }
            } else if (input.type == INPUT_MOUSE) {
                for (const DWORD down :
                     {DWORD{mouseLeftDown}, DWORD{mouseRightDown}, DWORD{mouseMiddleDown}}) {
                    if ((input.mi.dwFlags & down) != 0) {
                        heldButtons_.insert(down);
                    }
                    if ((input.mi.dwFlags & releaseOf(down)) != 0) {
                        heldButtons_.erase(down);
                    }
                }
            }
        }
    }
}

void WinInputService::releaseHeldKeys() {
    KeyInputs keys(layout_);
    for (const WORD virtualKey : heldKeys_) {
        keys.release(virtualKey);
    }
    std::vector<INPUT> releases = keys.inputs();
    for (const DWORD down : heldButtons_) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = releaseOf(down);
        releases.push_back(input);
    }
    heldKeys_.clear();
    heldButtons_.clear();
    if (!releases.empty()) {
        SendInput(static_cast<UINT>(releases.size()), releases.data(), sizeof(INPUT));
    }
}

}  // namespace pontrel
