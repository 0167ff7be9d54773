#include "platform/win/WinInputSink.h"

#include "platform/InputService.h"

namespace pontrel {

namespace {

// Key events sent at once; a stop waits for at most one slice.
constexpr std::size_t sliceSize = 64;

// The design's mouse flags are those of SendInput: 2/4 left, 8/16 right, 32/64 middle.
DWORD downFlag(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return mouseLeftDown;
        case MouseButton::Right:
            return mouseRightDown;
        case MouseButton::Middle:
            return mouseMiddleDown;
    }
    return mouseLeftDown;
}

DWORD upFlag(MouseButton button) {
    return downFlag(button) << 1;
}

}  // namespace

void WinInputSink::pressKey(NamedKey key) {
    add({KeyAction::Kind::Press, key, 0});
}

void WinInputSink::releaseKey(NamedKey key) {
    add({KeyAction::Kind::Release, key, 0});
}

void WinInputSink::typeCharacters(std::u32string_view run, const CancelCheck& cancelled) {
    for (const char32_t character : run) {
        if (cancelled()) {
            return;
        }
        add({KeyAction::Kind::Type, NamedKey::Enter, character});
    }
}

void WinInputSink::movePointer(ScreenPoint point) {
    flush();
    SetCursorPos(point.x, point.y);
}

void WinInputSink::pressButton(MouseButton button) {
    mouse(downFlag(button));
}

void WinInputSink::releaseButton(MouseButton button) {
    mouse(upFlag(button));
}

void WinInputSink::flush() {
    std::vector<INPUT> inputs = keys_.take();
    if (!inputs.empty()) {
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

void WinInputSink::add(const KeyAction& action) {
    keys_.add(action);
    if (keys_.inputs().size() >= sliceSize) {
        flush();
    }
}

void WinInputSink::mouse(DWORD flags) {
    flush();
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

}  // namespace pontrel
