#include "platform/gnome/MutterInputSink.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include <xkbcommon/xkbcommon.h>
#include <QString>

#include "platform/wayland/InputCodes.h"
#include "platform/wayland/PastedStretch.h"
#include "platform/wayland/SeatLayout.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// How long the focused program may take to ask for pasted text.
constexpr auto pasteTimeout = 2s;
constexpr auto quietGap = 50ms;
constexpr auto quietTimeout = 500ms;
constexpr std::uint32_t evdevOffset = 8;  // xkb keycode = evdev code + 8

const char* const textTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING",
                                 "TEXT"};

// The text as every text type.
ClipboardContent textContent(std::u32string_view text) {
    const std::string utf8 =
        QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())).toStdString();
    ClipboardContent content;
    for (const char* type : textTypes) {
        content[type] = utf8;
    }
    return content;
}

// The layout of the seat, which has a keyboard once the remote desktop session used one.
std::string userLayout() {
    WaylandConnection connection;
    return readUserLayout(connection);
}

}  // namespace

MutterInputSink::MutterInputSink(std::function<void(NamedKey)> announce)
    : announce_(std::move(announce)),
      layout_(std::make_unique<XkbKeymap>(userLayout())),
      shift_(levelKey(XKB_KEY_Shift_L)),
      altGr_(levelKey(XKB_KEY_ISO_Level3_Shift)) {}

MutterInputSink::~MutterInputSink() {
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
        desktop_.keycode(it->keycode, false);
    }
    desktop_.sync();
}

bool MutterInputSink::usable() const {
    return desktop_.usable() && layout_->valid();
}

void MutterInputSink::check(const char* what) {
    if (!desktop_.usable()) {
        throw std::runtime_error(std::string("Mutter: ") + what + " (" + desktop_.error() + ")");
    }
}

std::vector<std::uint32_t> MutterInputSink::keysOf(Keysym keysym) const {
    const auto stroke = keysym != XKB_KEY_NoSymbol ? layout_->stroke(keysym) : std::nullopt;
    if (!stroke || stroke->group != 0) {
        return {};
    }
    std::vector<std::uint32_t> keys;
    std::uint32_t missing = stroke->mods;
    for (const LevelKey& modifier : {shift_, altGr_}) {
        if (modifier.code != 0 && modifier.mods != 0 && (missing & modifier.mods) != 0) {
            keys.push_back(modifier.code);
            missing &= ~modifier.mods;
        }
    }
    if (missing != 0) {
        return {};
    }
    keys.push_back(stroke->keycode - evdevOffset);
    return keys;
}

MutterInputSink::LevelKey MutterInputSink::levelKey(Keysym keysym) const {
    const auto stroke = layout_->valid() ? layout_->stroke(keysym) : std::nullopt;
    if (!stroke) {
        return {};
    }
    return {stroke->keycode - evdevOffset, layout_->modsOfKey(stroke->keycode)};
}

std::uint32_t MutterInputSink::layoutCode(Keysym keysym) const {
    const auto stroke = layout_->stroke(keysym);
    return stroke ? stroke->keycode - evdevOffset : 0;
}

bool MutterInputSink::holds(NamedKey key) const {
    return holdsKey(held_, key);
}

Keysym MutterInputSink::chordTarget(Keysym keysym) {
    if (keysym == XKB_KEY_NoSymbol || !holds(NamedKey::Ctrl) || !holds(NamedKey::Alt)) {
        return keysym;
    }
    const Keysym level = layout_->altGrKeysym(keysym, holds(NamedKey::Shift));
    if (level != keysym) {
        for (const HeldKey& held : held_) {
            if (held.key == NamedKey::Ctrl || held.key == NamedKey::Alt) {
                desktop_.keycode(held.keycode, false);
            }
        }
    }
    return level;
}

void MutterInputSink::beginText(const KeyActions& text) {
    const bool pastes = std::any_of(text.begin(), text.end(), [this](const KeyAction& action) {
        return action.kind == KeyAction::Kind::Type &&
               wayOf(action.character) == CharacterWay::Paste;
    });
    if (pastes && !userClipboard_) {
        userClipboard_ = desktop_.readClipboard();
    }
}

void MutterInputSink::pressKey(NamedKey key) {
    if (announce_) {
        announce_(key);
    }
    const std::uint32_t code = layoutCode(namedKeysym(key));
    if (code == 0) {
        throw std::runtime_error("Mutter: the layout has no key " + keyName(key));
    }
    held_.push_back({key, code});
    desktop_.keycode(code, true);
    check("key not pressed");
}

void MutterInputSink::releaseKey(NamedKey key) {
    const std::optional<HeldKey> held = takeHeldKey(held_, key);
    if (!held) {
        return;
    }
    desktop_.keycode(held->keycode, false);
    check("key not released");
}

void MutterInputSink::typeCharacters(std::u32string_view run, const CancelCheck& cancelled) {
    std::size_t i = 0;
    while (i < run.size() && !cancelled()) {
        const Keysym keysym = chordTarget(characterKeysym(run[i]));
        const std::vector<std::uint32_t> keys = keysOf(keysym);
        if (!keys.empty()) {
            for (const std::uint32_t code : keys) {
                desktop_.keycode(code, true);
            }
            for (auto code = keys.rbegin(); code != keys.rend(); ++code) {
                desktop_.keycode(*code, false);
            }
            check("key not typed");
            ++i;
        } else if (keysym == XKB_KEY_NoSymbol) {
            ++i;  // a control character no key gives is left out
        } else {
            const std::size_t end = pastedStretchEnd(run, i, !held_.empty(),
                                                     [this](char32_t next) { return wayOf(next); });
            paste(run.substr(i, end - i));
            i = end;
        }
    }
}

CharacterWay MutterInputSink::wayOf(char32_t character) const {
    const Keysym keysym = characterKeysym(character);
    if (keysym == XKB_KEY_NoSymbol) {
        return CharacterWay::None;
    }
    return keysOf(keysym).empty() ? CharacterWay::Paste : CharacterWay::Key;
}

// Keyboard first, then the clipboard, then the paste: a program that sees the clipboard change
// before the keyboard exists may fail.
void MutterInputSink::paste(std::u32string_view text) {
    if (!userClipboard_) {
        userClipboard_ = desktop_.readClipboard();
    }
    waitUntilClipboardQuiet();
    pasted_ = true;
    const int before = desktop_.clipboardTransfers();
    if (!desktop_.ownClipboard(textContent(text))) {
        check("clipboard not taken");
        throw std::runtime_error("Mutter: clipboard not taken (" + desktop_.error() + ")");
    }
    // Mutter keeps a copy of what a new owner offers and takes it at once; whether it does is
    // learnt on the first paste, given as long as a paste (a busy mutter took over half a second
    // for its first copy). The focused program's read comes besides: until it came, the content
    // must stay.
    if (!mutterCopies_) {
        mutterCopies_ = waitForTransfers(before + 1, pasteTimeout);
    }
    const int transfers = before + (*mutterCopies_ ? 2 : 1);
    const std::uint32_t control = layoutCode(XKB_KEY_Control_L);
    const std::uint32_t v = layoutCode(XKB_KEY_v);
    const bool controlHeld = holds(NamedKey::Ctrl);
    if (!controlHeld) {
        desktop_.keycode(control, true);
    }
    desktop_.keycode(v, true);
    desktop_.keycode(v, false);
    if (!controlHeld) {
        desktop_.keycode(control, false);
    }
    if (!waitForTransfers(transfers, pasteTimeout)) {
        throw std::runtime_error("Mutter: the focused program did not take the pasted text");
    }
}

bool MutterInputSink::waitForTransfers(int count, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (desktop_.clipboardTransfers() < count) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// A program may read a paste more than once: the content changes only once nobody has asked
// for a moment.
void MutterInputSink::waitUntilClipboardQuiet() {
    const auto end = std::chrono::steady_clock::now() + quietTimeout;
    while (std::chrono::steady_clock::now() - desktop_.lastClipboardTransfer() < quietGap &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(1ms);
    }
}

void MutterInputSink::movePointer(ScreenPoint point) {
    if (!desktop_.movePointer(point.x, point.y)) {
        throw std::runtime_error("Mutter: pointer not moved (" + desktop_.error() + ")");
    }
}

void MutterInputSink::pressButton(MouseButton button) {
    desktop_.button(linuxButton(button), true);
    check("button not pressed");
}

void MutterInputSink::releaseButton(MouseButton button) {
    desktop_.button(linuxButton(button), false);
    check("button not released");
}

void MutterInputSink::flush() {
    const bool synced = desktop_.sync();
    // Once something was pasted the clipboard is the user's again; an empty one holds an empty
    // text, for the pasted one must not stay behind.
    if (userClipboard_ && pasted_) {
        waitUntilClipboardQuiet();
        desktop_.ownClipboard(userClipboard_->empty() ? textContent({}) : *userClipboard_);
    }
    userClipboard_.reset();
    pasted_ = false;
    if (!synced) {
        check("connection lost");
    }
}

}  // namespace pontrel
