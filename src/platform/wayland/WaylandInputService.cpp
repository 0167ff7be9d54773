#include "platform/wayland/WaylandInputService.h"

namespace pontrel {

WaylandInputService::WaylandInputService(InputSink& sink, Sources sources)
    : queue_(sink), sources_(std::move(sources)) {}

std::uint16_t WaylandInputService::asyncKeyState(int virtualKey) {
    return sources_.keyState(virtualKey);
}

ScreenPoint WaylandInputService::cursorPos() {
    return sources_.pointer();
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
    return sources_.block(block);
}

void WaylandInputService::cancelQueuedInput() {
    queue_.cancel();
}

void WaylandInputService::drainQueuedInput() {
    queue_.drain();
}

void WaylandInputService::spaceNextInput(std::chrono::milliseconds gap) {
    queue_.spaceNext(gap);
}

}  // namespace pontrel
