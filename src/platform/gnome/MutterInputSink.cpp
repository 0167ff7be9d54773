#include "platform/gnome/MutterInputSink.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include <xkbcommon/xkbcommon.h>
#include <QString>

#include "platform/wayland/InputCodes.h"
#include "platform/wayland/SeatLayout.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// How long the focused program may take to ask for pasted text.
constexpr auto pasteTimeout = 2s;
constexpr auto mutterCopyTimeout = 1s;
constexpr auto quietGap = 50ms;
constexpr auto quietTimeout = 500ms;
constexpr std::uint32_t evdevOffset = 8;  // xkb keycode = evdev code + 8

const char* const textTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING",
                                 "TEXT"};

std::string utf8(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())).toStdString();
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
        desktop_.keycode(it->code, false);
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
    return std::any_of(held_.begin(), held_.end(),
                       [key](const Held& held) { return held.key == key; });
}

Keysym MutterInputSink::chordTarget(Keysym keysym) {
    if (keysym == XKB_KEY_NoSymbol || !holds(NamedKey::Ctrl) || !holds(NamedKey::Alt)) {
        return keysym;
    }
    const Keysym level = layout_->altGrKeysym(keysym, holds(NamedKey::Shift));
    if (level != keysym) {
        for (const Held& held : held_) {
            if (held.key == NamedKey::Ctrl || held.key == NamedKey::Alt) {
                desktop_.keycode(held.code, false);
            }
        }
    }
    return level;
}

void MutterInputSink::beginText(const KeyActions& text) {
    const bool pastes = std::any_of(text.begin(), text.end(), [this](const KeyAction& action) {
        const Keysym keysym = characterKeysym(action.character);
        return action.kind == KeyAction::Kind::Type && keysym != XKB_KEY_NoSymbol &&
               keysOf(keysym).empty();
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
    const auto it = std::find_if(held_.rbegin(), held_.rend(),
                                 [key](const Held& held) { return held.key == key; });
    if (it == held_.rend()) {
        return;
    }
    desktop_.keycode(it->code, false);
    held_.erase(std::next(it).base());
    check("key not released");
}

void MutterInputSink::typeCharacters(std::u32string_view run, const CancelCheck& cancelled) {
    std::size_t pending = 0;  // start of the characters to paste
    for (std::size_t i = 0; i <= run.size(); ++i) {
        const Keysym keysym =
            i < run.size() ? chordTarget(characterKeysym(run[i])) : XKB_KEY_NoSymbol;
        const std::vector<std::uint32_t> keys = keysOf(keysym);
        const bool typed = !keys.empty();
        // Pasted: the characters the layout lacks, in runs up to the next typed one; a control
        // character no key gives is left out.
        if (typed || keysym == XKB_KEY_NoSymbol) {
            if (pending < i) {
                paste(run.substr(pending, i - pending));
            }
            pending = i + 1;
        }
        if (i == run.size() || cancelled()) {
            return;
        }
        if (typed) {
            for (const std::uint32_t code : keys) {
                desktop_.keycode(code, true);
            }
            for (auto code = keys.rbegin(); code != keys.rend(); ++code) {
                desktop_.keycode(*code, false);
            }
            check("key not typed");
        }
    }
}

// Keyboard first, then the clipboard, then the paste: a program that sees the clipboard change
// before the keyboard exists may fail.
void MutterInputSink::paste(std::u32string_view text) {
    if (!userClipboard_) {
        userClipboard_ = desktop_.readClipboard();
    }
    ClipboardContent content;
    for (const char* type : textTypes) {
        content[type] = utf8(text);
    }
    waitUntilClipboardQuiet();
    const int before = desktop_.clipboardTransfers();
    if (!desktop_.ownClipboard(content) || !desktop_.sync()) {
        check("clipboard not taken");
        throw std::runtime_error("Mutter: clipboard not taken (" + desktop_.error() + ")");
    }
    // Mutter keeps a copy of what a new owner offers and takes it at once, before any paste.
    // Only the read after that is the focused program's: until it came, the content must stay.
    int reads = 1;
    if (mutterCopies_ != false) {
        const bool copied = waitForTransfers(before + 1, mutterCopyTimeout);
        if (!mutterCopies_) {
            mutterCopies_ = copied;
        } else if (!copied) {
            reads = 2;
        }
    }
    const int transfers = desktop_.clipboardTransfers();
    const std::uint32_t control = layoutCode(XKB_KEY_Control_L);
    const std::uint32_t v = layoutCode(XKB_KEY_v);
    const bool controlHeld = std::any_of(
        held_.begin(), held_.end(), [](const Held& held) { return held.key == NamedKey::Ctrl; });
    if (!controlHeld) {
        desktop_.keycode(control, true);
    }
    desktop_.keycode(v, true);
    desktop_.keycode(v, false);
    if (!controlHeld) {
        desktop_.keycode(control, false);
    }
    if (!waitForTransfers(transfers + reads, pasteTimeout)) {
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
    if (userClipboard_) {
        if (!userClipboard_->empty()) {
            waitUntilClipboardQuiet();
            desktop_.ownClipboard(*userClipboard_);
        }
        userClipboard_.reset();
    }
    if (!synced) {
        check("connection lost");
    }
}

}  // namespace pontrel
