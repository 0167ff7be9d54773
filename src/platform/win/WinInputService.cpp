#include "platform/win/WinInputService.h"

#include "platform/win/WideText.h"

namespace pontrel {

WinInputService::WinInputService() : sink_(GetKeyboardLayout(0)) {}

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
    queue_.movePointer({x, y});
    return Status::success();
}

Status WinInputService::mouseEvent(int flags) {
    return queue_.mouseEvent(flags);
}

Status WinInputService::sendKeys(const KeyActions& actions) {
    queue_.sendKeys(actions);
    return Status::success();
}

void WinInputService::spaceNextInput(std::chrono::milliseconds gap) {
    queue_.spaceNext(gap);
}

Status WinInputService::blockInput(bool block) {
    if (!BlockInput(block ? TRUE : FALSE)) {
        return Status::failure(lastErrorText("BlockInput"));
    }
    return Status::success();
}

void WinInputService::cancelQueuedInput() {
    queue_.cancel();
}

void WinInputService::drainQueuedInput() {
    queue_.drain();
}

}  // namespace pontrel
