#include "platform/wayland/WlrInputSink.h"

#include <stdexcept>

#include "platform/wayland/SwayIpc.h"

namespace pontrel {

namespace {

void check(bool ok, const WaylandConnection& connection, const char* what) {
    if (!ok) {
        const std::string error = connection.error();
        throw std::runtime_error(std::string("Wayland: ") + what +
                                 (error.empty() ? std::string() : " (" + error + ")"));
    }
}

}  // namespace

WlrInputSink::WlrInputSink(SwayIpc* focus, PressAnnouncer announce)
    : focus_(focus), announce_(std::move(announce)) {}

WlrInputSink::~WlrInputSink() = default;

bool WlrInputSink::usable() const {
    return connection_.usable() && keyboard_.usable() && pointer_.usable();
}

void WlrInputSink::beginText(const KeyActions& text) {
    keyboard_.setPaced(focus_ == nullptr || focus_->focusedShell() != "xdg_shell");
    std::u32string characters;
    for (const KeyAction& action : text) {
        if (action.kind == KeyAction::Kind::Type) {
            characters += action.character;
        }
    }
    check(keyboard_.prepare(characters), connection_, "keymap for the text not taken");
}

void WlrInputSink::pressKey(NamedKey key) {
    if (announce_) {
        announce_(key);
    }
    check(keyboard_.pressKey(key), connection_, "key not pressed");
}

void WlrInputSink::releaseKey(NamedKey key) {
    check(keyboard_.releaseKey(key), connection_, "key not released");
}

void WlrInputSink::typeCharacters(std::u32string_view run, const CancelCheck& cancelled) {
    check(keyboard_.typeText(run, cancelled), connection_, "text not typed");
}

void WlrInputSink::movePointer(ScreenPoint point) {
    check(pointer_.move(point.x, point.y), connection_, "pointer not moved");
}

void WlrInputSink::pressButton(MouseButton button) {
    check(pointer_.button(button, true), connection_, "button not pressed");
}

void WlrInputSink::releaseButton(MouseButton button) {
    check(pointer_.button(button, false), connection_, "button not released");
}

void WlrInputSink::flush() {
    check(connection_.roundtrip(), connection_, "connection lost");
}

}  // namespace pontrel
