#include "platform/kde/KWinInputSink.h"

#include <chrono>
#include <stdexcept>

#include <QString>

#include "platform/wayland/InputCodes.h"
#include "platform/wayland/PastedStretch.h"
#include "platform/wayland/SeatLayout.h"

namespace pontrel {

namespace {

// How long a paste waits for the focused program to read the clipboard; a busy program may take
// seconds.
constexpr auto pasteTimeout = std::chrono::seconds(3);

void check(bool ok, const WaylandConnection& connection, const char* what) {
    if (!ok) {
        const std::string error = connection.error();
        throw std::runtime_error(std::string("KWin: ") + what +
                                 (error.empty() ? std::string() : " (" + error + ")"));
    }
}

}  // namespace

KWinInputSink::KWinInputSink(PressAnnouncer announce)
    : announce_(std::move(announce)), keyboard_(device_, readUserLayout(connection_)) {}

KWinInputSink::~KWinInputSink() {
    if (clipboardSaved_) {
        (void)clipboard_.restore();
    }
}

bool KWinInputSink::usable() const {
    return connection_.usable() && device_.usable() && keyboard_.usable();
}

void KWinInputSink::beginText(const KeyActions&) {
    pace_.startLine();
}

void KWinInputSink::pressKey(NamedKey key) {
    if (announce_) {
        announce_(key);
    }
    pace_.beforeKey();
    if (key == NamedKey::Enter) {
        pace_.startLine();
    }
    check(keyboard_.pressKey(key), connection_, "key not pressed");
}

void KWinInputSink::releaseKey(NamedKey key) {
    check(keyboard_.releaseKey(key), connection_, "key not released");
}

void KWinInputSink::typeCharacters(std::u32string_view run, const CancelCheck& cancelled) {
    std::size_t i = 0;
    while (i < run.size() && !cancelled()) {
        switch (wayOf(run[i])) {
            case CharacterWay::None:
                ++i;
                break;
            case CharacterWay::Key:
                pace_.beforeCharacter(run[i]);
                check(keyboard_.type(characterKeysym(run[i])), connection_, "text not typed");
                ++i;
                break;
            case CharacterWay::Paste:
                const std::size_t end = pastedStretchEnd(
                    run, i, keyboard_.holdsKeys(), [this](char32_t next) { return wayOf(next); });
                paste(run.substr(i, end - i));
                i = end;
                break;
        }
    }
}

CharacterWay KWinInputSink::wayOf(char32_t character) const {
    const Keysym keysym = characterKeysym(character);
    if (keysym == 0) {
        return CharacterWay::None;
    }
    return keyboard_.canType(keysym) ? CharacterWay::Key : CharacterWay::Paste;
}

// The clipboard is taken for the text, Ctrl+V pressed, and the text kept there until the focused
// program has read it.
void KWinInputSink::paste(std::u32string_view text) {
    if (!clipboardSaved_) {
        // What cannot be read cannot be put back: better no paste than a lost clipboard.
        check(clipboard_.save(), connection_, "the clipboard cannot be kept for a paste");
        clipboardSaved_ = true;
    }
    const QString characters = QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
    check(clipboard_.offerText(characters.toStdString()), connection_,
          "the clipboard was not taken for a paste");
    check(keyboard_.paste() && device_.roundtrip(), connection_, "no paste");
    // Typing on would let a late read take the next paste's text, or the user's clipboard.
    if (!clipboard_.waitUntilRead(pasteTimeout)) {
        throw std::runtime_error("KWin: the focused window did not take the pasted text");
    }
    pace_.pasted(text.size());
}

void KWinInputSink::movePointer(ScreenPoint point) {
    check(device_.moveTo(point.x, point.y), connection_, "pointer not moved");
}

void KWinInputSink::pressButton(MouseButton button) {
    check(device_.button(button, true), connection_, "button not pressed");
}

void KWinInputSink::releaseButton(MouseButton button) {
    check(device_.button(button, false), connection_, "button not released");
}

void KWinInputSink::flush() {
    const bool delivered = device_.roundtrip();
    if (clipboardSaved_) {
        clipboardSaved_ = false;
        check(clipboard_.restore(), connection_, "the clipboard was not put back");
    }
    check(delivered, connection_, "connection lost");
}

}  // namespace pontrel
