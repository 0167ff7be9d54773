#include "platform/wayland/WaylandInputService.h"

namespace pontrel {

WaylandInputService::WaylandInputService(InputSink& sink, KeyState keyState, Block block)
    : queue_(sink), keyState_(std::move(keyState)), block_(std::move(block)) {}

std::uint16_t WaylandInputService::asyncKeyState(int virtualKey) {
    return keyState_(virtualKey);
}

ScreenPoint WaylandInputService::cursorPos() {
    return {};
}

Status WaylandInputService::setCursorPos(int x, int y) {
    queue_.movePointer({x, y});
    return Status::success();
}

Status WaylandInputService::mouseEvent(int flags) {
    return queue_.mouseEvent(flags);
}

Status WaylandInputService::sendKeys(const KeyActions& actions) {
    queue_.sendKeys(actions);
    return Status::success();
}

Status WaylandInputService::blockInput(bool block) {
    return block_(block);
}

void WaylandInputService::cancelQueuedInput() {
    queue_.cancel();
}

void WaylandInputService::drainQueuedInput() {
    queue_.drain();
}

}  // namespace pontrel
