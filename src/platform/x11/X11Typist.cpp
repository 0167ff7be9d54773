#include "platform/x11/X11Typist.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "platform/x11/X11KeyState.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>
#undef Status

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// A receiver translates a keycode when it reads the event, with the keymap as it is on the
// server at that moment (Xlib fetches it lazily, Qt on the change notice). So a spare keycode
// is remapped or cleared only after the receivers had time to read the keys typed with it,
// generously, as a busy receiver lags; and typed only after the change had time to arrive.
constexpr auto settleAfterRemap = 20ms;
constexpr auto keepAfterUse = 100ms;
// How long a modifier the user holds may delay the text before we release it.
constexpr auto userModifierWait = 1000ms;
constexpr auto pollInterval = 10ms;
// How far a batch of remaps looks ahead for characters the layout lacks.
constexpr std::size_t lookAhead = 4096;
// Events sent before the receivers get to see them.
constexpr int flushEvery = 64;

bool isModifier(NamedKey key) {
    return key == NamedKey::Shift || key == NamedKey::Ctrl || key == NamedKey::Alt;
}

KeySym namedKeysym(NamedKey key) {
    switch (key) {
        case NamedKey::Shift:
            return XK_Shift_L;
        case NamedKey::Ctrl:
            return XK_Control_L;
        case NamedKey::Alt:
            return XK_Alt_L;
        case NamedKey::Backspace:
            return XK_BackSpace;
        case NamedKey::Break:
            return XK_Break;
        case NamedKey::CapsLock:
            return XK_Caps_Lock;
        case NamedKey::Clear:
            return XK_Clear;
        case NamedKey::Delete:
            return XK_Delete;
        case NamedKey::Down:
            return XK_Down;
        case NamedKey::End:
            return XK_End;
        case NamedKey::Enter:
            return XK_Return;
        case NamedKey::Escape:
            return XK_Escape;
        case NamedKey::Help:
            return XK_Help;
        case NamedKey::Home:
            return XK_Home;
        case NamedKey::Insert:
            return XK_Insert;
        case NamedKey::Left:
            return XK_Left;
        case NamedKey::NumLock:
            return XK_Num_Lock;
        case NamedKey::PageDown:
            return XK_Next;
        case NamedKey::PageUp:
            return XK_Prior;
        case NamedKey::PrintScreen:
            return XK_Print;
        case NamedKey::Right:
            return XK_Right;
        case NamedKey::ScrollLock:
            return XK_Scroll_Lock;
        case NamedKey::Tab:
            return XK_Tab;
        case NamedKey::Up:
            return XK_Up;
        case NamedKey::NumpadAdd:
            return XK_KP_Add;
        case NamedKey::NumpadSubtract:
            return XK_KP_Subtract;
        case NamedKey::NumpadMultiply:
            return XK_KP_Multiply;
        case NamedKey::NumpadDivide:
            return XK_KP_Divide;
        default:
            return XK_F1 +
                   static_cast<KeySym>(static_cast<int>(key) - static_cast<int>(NamedKey::F1));
    }
}

// Control characters in a text are typed as the keys that produce them.
KeySym controlKeysym(char32_t character) {
    switch (character) {
        case U'\t':
            return XK_Tab;
        case U'\n':
        case U'\r':
            return XK_Return;
        case U'\b':
            return XK_BackSpace;
        default:
            return NoSymbol;
    }
}

bool isControl(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character < 0xA0);
}

KeySym characterKeysym(char32_t character) {
    return xkb_utf32_to_keysym(static_cast<std::uint32_t>(character));
}

}  // namespace

X11Typist::X11Typist(Display* display, unsigned xtestKeyboard, X11KeyState& keyState,
                     X11HeldInput& held)
    : display_(display), xtestKeyboard_(xtestKeyboard), keyState_(keyState), held_(held) {}

void X11Typist::begin(const KeyActions& text) {
    begun_ = true;
    XkbStateRec state{};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    activeGroup_ = state.group;
    lockedGroup_ = state.locked_group;
    currentGroup_ = activeGroup_;
    // The XTEST keyboard has a keymap of its own, which the core keyboard takes over as soon as
    // an XTest key arrives; it can differ from the physical keyboard's.
    ready_ = keymap_.load(display_, xtestKeyboard_, activeGroup_);
    if (!ready_) {
        std::fprintf(stderr, "X11 typing: the server sent no keymap\n");
        return;
    }
    spares_.clear();
    for (unsigned keycode : keymap_.spareKeycodes()) {
        spares_.push_back(Spare{keycode});
    }
    // The first batch of remaps goes out before any key: an Xlib client reads the keymap when
    // it translates its first key and only then asks to hear of changes, so a change while it
    // does that would pass unnoticed.
    std::vector<KeySym> wanted;
    for (std::size_t i = 0; i < std::min(text.size(), lookAhead); ++i) {
        addWanted(wanted, keysymNeedingSpare(text[i]));
    }
    if (!wanted.empty()) {
        remapSpares(wanted);
    }
    waitForUserModifiers();
    // With Caps Lock on every letter would come out in the other case.
    if (state.locked_mods & LockMask) {
        if (const auto capsLock = keymap_.strokeForKeysym(XK_Caps_Lock)) {
            capsLockKey_ = capsLock->keycode;
            held_.capsLockKeyToTap = capsLockKey_;
            strike(*capsLock);
        }
    }
}

void X11Typist::press(NamedKey key) {
    if (!ready_) {
        return;
    }
    if (isModifier(key)) {
        if (const unsigned keycode = modifierKeycode(key)) {
            modifiers_.push_back(HeldModifier{key, keycode});
        }
        return;
    }
    const auto stroke = strokeFor(namedKeysym(key), {});
    if (!stroke) {
        return;
    }
    pressHeldModifiers();
    std::vector<unsigned> levelKeys = pressLevel(*stroke);
    if (pressKey(stroke->keycode)) {
        pressed_.push_back(PressedKey{key, stroke->keycode, std::move(levelKeys)});
    } else {
        releaseLevel(levelKeys);
    }
    markSpareUsed(stroke->keycode);
}

void X11Typist::release(NamedKey key) {
    if (!ready_) {
        return;
    }
    if (isModifier(key)) {
        releaseModifier(key);
        return;
    }
    const auto it = std::find_if(pressed_.rbegin(), pressed_.rend(),
                                 [key](const PressedKey& pressed) { return pressed.key == key; });
    if (it != pressed_.rend()) {
        releaseKey(it->keycode);
        releaseLevel(it->levelKeys);
        pressed_.erase(std::next(it).base());
    }
}

void X11Typist::type(std::u32string_view run, const CancelCheck& cancelled) {
    for (std::size_t i = 0; ready_ && i < run.size() && !cancelled(); ++i) {
        typeCharacter(run[i], run.substr(i + 1));
    }
}

void X11Typist::finish() {
    if (!begun_) {
        return;
    }
    begun_ = false;
    ready_ = false;
    for (auto it = down_.rbegin(); it != down_.rend(); ++it) {
        XTestFakeKeyEvent(display_, *it, False, CurrentTime);
    }
    down_.clear();
    modifiers_.clear();
    pressed_.clear();
    if (currentGroup_ != activeGroup_) {
        XkbLockGroup(display_, XkbUseCoreKbd, static_cast<unsigned>(lockedGroup_));
        currentGroup_ = activeGroup_;
    }
    if (capsLockKey_ != 0) {
        // A {CAPSLOCK} in the text may have locked it already.
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        if (!(state.locked_mods & LockMask) && pressKey(capsLockKey_)) {
            releaseKey(capsLockKey_);
        }
        capsLockKey_ = 0;
    }
    clearSpares();
    XSync(display_, False);
    // The record for the signal hook follows what the server has, not what is still buffered.
    for (auto& key : held_.keys) {
        key = false;
    }
    held_.lockedGroupToRestore = -1;
    held_.capsLockKeyToTap = 0;
}

void X11Typist::releaseModifier(NamedKey key) {
    const auto it = std::find_if(modifiers_.rbegin(), modifiers_.rend(),
                                 [key](const HeldModifier& held) { return held.key == key; });
    if (it == modifiers_.rend()) {
        return;
    }
    if (it->down) {
        releaseKey(it->keycode);
    } else if (!it->used && pressKey(it->keycode)) {
        // A modifier that preceded no key is tapped on its own.
        releaseKey(it->keycode);
    }
    modifiers_.erase(std::next(it).base());
}

void X11Typist::typeCharacter(char32_t character, std::u32string_view ahead) {
    if (const KeySym control = controlKeysym(character)) {
        if (const auto stroke = strokeFor(control, ahead)) {
            pressHeldModifiers();
            strike(*stroke);
        }
        return;
    }
    if (isControl(character)) {
        return;
    }
    auto stroke = keymap_.strokeForCharacter(character);
    if (!stroke) {
        stroke = strokeFor(characterKeysym(character), ahead);
        if (!stroke) {
            return;
        }
    }
    // Windows reads Ctrl+Alt as AltGr: Ctrl+Alt+Q gives "@" on a German layout. X does not, so
    // the AltGr level of the key is typed instead, with Ctrl and Alt up.
    const unsigned levelThree = keymap_.levelThreeMods();
    if (levelThree != 0 && holds(NamedKey::Ctrl) && holds(NamedKey::Alt)) {
        const unsigned shift = holds(NamedKey::Shift) ? ShiftMask : 0u;
        if (const auto altGr = keymap_.sameKeyWithMods(*stroke, levelThree | shift)) {
            for (HeldModifier& held : modifiers_) {
                held.used = true;
                if (held.key != NamedKey::Shift && held.down) {
                    releaseKey(held.keycode);
                    held.down = false;
                } else if (held.key == NamedKey::Shift && !held.down) {
                    held.down = pressKey(held.keycode);
                }
            }
            strike(*altGr);
            return;
        }
    }
    pressHeldModifiers();
    strike(*stroke);
}

void X11Typist::strike(const KeyStroke& stroke) {
    const std::vector<unsigned> levelKeys = pressLevel(stroke);
    if (pressKey(stroke.keycode)) {
        releaseKey(stroke.keycode);
    }
    releaseLevel(levelKeys);
    markSpareUsed(stroke.keycode);
}

// Presses the modifiers the stroke's level needs beyond those already down.
std::vector<unsigned> X11Typist::pressLevel(const KeyStroke& stroke) {
    useGroup(stroke.group);
    std::vector<unsigned> levelKeys;
    const unsigned missing = stroke.mods & ~modsDown();
    for (unsigned bit = 1; bit <= missing; bit <<= 1) {
        if (missing & bit) {
            const unsigned keycode = keymap_.keyForModifier(bit);
            if (keycode != 0 && pressKey(keycode)) {
                levelKeys.push_back(keycode);
            }
        }
    }
    return levelKeys;
}

void X11Typist::releaseLevel(const std::vector<unsigned>& levelKeys) {
    for (auto it = levelKeys.rbegin(); it != levelKeys.rend(); ++it) {
        releaseKey(*it);
    }
}

void X11Typist::markSpareUsed(unsigned keycode) {
    for (Spare& spare : spares_) {
        if (spare.keycode == keycode && spare.keysym != NoSymbol) {
            spare.usedSinceSync = true;
        }
    }
}

std::optional<KeyStroke> X11Typist::strokeFor(KeySym keysym, std::u32string_view ahead) {
    if (auto stroke = keymap_.strokeForKeysym(keysym)) {
        return stroke;
    }
    const auto mapped = [&] {
        return std::find_if(spares_.begin(), spares_.end(),
                            [keysym](const Spare& spare) { return spare.keysym == keysym; });
    };
    auto it = mapped();
    if (it == spares_.end() && keysym != NoSymbol && !spares_.empty()) {
        std::vector<KeySym> wanted{keysym};
        for (char32_t character : ahead.substr(0, lookAhead)) {
            addWanted(wanted, keysymNeedingSpare(character));
        }
        remapSpares(wanted);
        it = mapped();
    }
    if (it == spares_.end()) {
        std::fprintf(stderr, "X11 typing: no key for keysym 0x%lx\n", keysym);
        return std::nullopt;
    }
    // A spare key has one group; any other group wraps onto it.
    return KeyStroke{it->keycode, currentGroup_, 0};
}

unsigned X11Typist::modifierKeycode(NamedKey key) const {
    const KeySym left = namedKeysym(key);
    const KeySym fallbacks[] = {left, left + 1,
                                key == NamedKey::Alt ? KeySym{XK_Meta_L} : NoSymbol};
    for (KeySym keysym : fallbacks) {
        if (const auto stroke = keymap_.strokeForKeysym(keysym); stroke && stroke->mods == 0) {
            return stroke->keycode;
        }
    }
    return 0;
}

bool X11Typist::holds(NamedKey key) const {
    return std::any_of(modifiers_.begin(), modifiers_.end(),
                       [key](const HeldModifier& held) { return held.key == key; });
}

void X11Typist::pressHeldModifiers() {
    for (HeldModifier& held : modifiers_) {
        if (!held.down) {
            held.down = pressKey(held.keycode);
        }
        held.used = true;
    }
}

bool X11Typist::pressKey(unsigned keycode) {
    if (wouldSwitchConsole(keycode)) {
        std::fprintf(stderr, "X11 typing: Ctrl+Alt with key %u is not sent\n", keycode);
        return false;
    }
    // Our own presses must not count as hot-key presses.
    keyState_.announceSyntheticPress(keycode);
    held_.keys[keycode & 0xFF] = true;
    XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
    down_.push_back(keycode);
    flushSometimes();
    return true;
}

void X11Typist::releaseKey(unsigned keycode) {
    const auto it = std::find(down_.rbegin(), down_.rend(), keycode);
    if (it == down_.rend()) {
        return;
    }
    down_.erase(std::next(it).base());
    XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    flushSometimes();
}

unsigned X11Typist::modsDown() const {
    unsigned mods = 0;
    for (unsigned keycode : down_) {
        mods |= keymap_.modsOfKey(keycode);
    }
    return mods;
}

// Ctrl+Alt+F1..F12 switches the virtual terminal and Ctrl+Alt+BackSpace may end the X server.
bool X11Typist::wouldSwitchConsole(unsigned keycode) const {
    const unsigned altKeyMods = keymap_.modsOfKey(modifierKeycode(NamedKey::Alt));
    const unsigned altMods = altKeyMods != 0 ? altKeyMods : Mod1Mask;
    const unsigned mods = modsDown() | keymap_.modsOfKey(keycode);
    const bool dangerous = keymap_.dangerousWithCtrlAlt(keycode) ||
                           std::any_of(down_.begin(), down_.end(), [this](unsigned down) {
                               return keymap_.dangerousWithCtrlAlt(down);
                           });
    return dangerous && (mods & ControlMask) && (mods & altMods) == altMods;
}

void X11Typist::useGroup(int group) {
    if (group == currentGroup_) {
        return;
    }
    // The character sits in another group of the layout: lock that group for it. This briefly
    // shows in the desktop's layout indicator.
    held_.lockedGroupToRestore = lockedGroup_;
    XkbLockGroup(display_, XkbUseCoreKbd, static_cast<unsigned>(group));
    currentGroup_ = group;
}

// XTest input combines with what the user holds (a held Shift turns "a" into "A"). A bare
// XTest release clears such a modifier; pressing it again afterwards would leave it logically
// stuck on the XTEST device once the user lets go, so it is not pressed again.
void X11Typist::waitForUserModifiers() {
    const auto deadline = Clock::now() + userModifierWait;
    for (;;) {
        char keys[32] = {};
        XQueryKeymap(display_, keys);
        std::vector<unsigned> held;
        for (unsigned keycode = 8; keycode < 256; ++keycode) {
            if ((keys[keycode / 8] & (1 << (keycode % 8))) && keymap_.modsOfKey(keycode) != 0) {
                held.push_back(keycode);
            }
        }
        if (held.empty()) {
            return;
        }
        if (Clock::now() >= deadline) {
            for (unsigned keycode : held) {
                XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
            }
            std::fprintf(stderr, "X11 typing: released %zu modifier(s) the user held\n",
                         held.size());
            return;
        }
        std::this_thread::sleep_for(pollInterval);
    }
}

KeySym X11Typist::keysymNeedingSpare(const KeyAction& action) const {
    if (action.kind == KeyAction::Kind::Type) {
        return keysymNeedingSpare(action.character);
    }
    if (action.kind == KeyAction::Kind::Release || isModifier(action.key)) {
        return NoSymbol;
    }
    const KeySym keysym = namedKeysym(action.key);
    return keymap_.strokeForKeysym(keysym) ? NoSymbol : keysym;
}

KeySym X11Typist::keysymNeedingSpare(char32_t character) const {
    const KeySym keysym = controlKeysym(character);
    if (keysym == NoSymbol) {
        if (isControl(character) || keymap_.strokeForCharacter(character)) {
            return NoSymbol;
        }
        return characterKeysym(character);
    }
    return keymap_.strokeForKeysym(keysym) ? NoSymbol : keysym;
}

// Collects the symbols of one batch of remaps: each once, as many as there are spare keys.
void X11Typist::addWanted(std::vector<KeySym>& wanted, KeySym keysym) const {
    if (keysym != NoSymbol && wanted.size() < spares_.size() &&
        std::find(wanted.begin(), wanted.end(), keysym) == wanted.end()) {
        wanted.push_back(keysym);
    }
}

// Maps the wanted symbols, the next missing ones of the text, with one keymap change, so
// receivers fetch the keymap once per batch rather than once per character.
void X11Typist::remapSpares(const std::vector<KeySym>& wanted) {
    const auto isWanted = [&](KeySym keysym) {
        return std::find(wanted.begin(), wanted.end(), keysym) != wanted.end();
    };
    // Free spares: empty ones first, then those whose symbol was typed longest ago.
    std::vector<Spare*> free;
    for (Spare& spare : spares_) {
        if (!isWanted(spare.keysym)) {
            free.push_back(&spare);
        }
    }
    XSync(display_, False);
    const auto now = Clock::now();
    for (Spare& spare : spares_) {
        if (spare.usedSinceSync) {
            spare.deliveredBy = now;
            spare.usedSinceSync = false;
        }
    }
    std::stable_sort(free.begin(), free.end(), [](const Spare* a, const Spare* b) {
        return (a->keysym != NoSymbol) < (b->keysym != NoSymbol) ||
               ((a->keysym != NoSymbol) == (b->keysym != NoSymbol) &&
                a->deliveredBy < b->deliveredBy);
    });
    std::vector<Spare*> changed;
    for (KeySym keysym : wanted) {
        const bool mapped = std::any_of(spares_.begin(), spares_.end(),
                                        [keysym](const Spare& s) { return s.keysym == keysym; });
        if (!mapped && changed.size() < free.size()) {
            changed.push_back(free[changed.size()]);
        }
    }
    waitUntilReceiversCaughtUp(changed);
    std::size_t next = 0;
    for (KeySym keysym : wanted) {
        const bool mapped = std::any_of(spares_.begin(), spares_.end(),
                                        [keysym](const Spare& s) { return s.keysym == keysym; });
        if (!mapped && next < changed.size()) {
            changed[next++]->keysym = keysym;
        }
    }
    writeSpares(changed);
    std::this_thread::sleep_for(settleAfterRemap);
}

void X11Typist::waitUntilReceiversCaughtUp(const std::vector<Spare*>& spares) {
    Clock::time_point lastUse{};
    for (const Spare* spare : spares) {
        if (spare->keysym != NoSymbol) {
            lastUse = std::max(lastUse, spare->deliveredBy);
        }
    }
    if (lastUse != Clock::time_point{}) {
        std::this_thread::sleep_until(lastUse + keepAfterUse);
    }
}

// A remapped key gets the one-level type: a lone cased keysym on a core-protocol key would be
// read as a lower/upper pair and type "Ő" as "ő". An empty key has no groups at all, as before.
void X11Typist::writeSpares(const std::vector<Spare*>& spares) {
    if (spares.empty()) {
        return;
    }
    XkbDescPtr xkb = XkbGetMap(display_, XkbKeyTypesMask | XkbKeySymsMask, xtestKeyboard_);
    if (xkb == nullptr) {
        return;
    }
    XkbMapChangesRec changes{};
    unsigned low = 255;
    unsigned high = 0;
    for (const Spare* spare : spares) {
        const auto keycode = static_cast<int>(spare->keycode);
        if (spare->keysym != NoSymbol) {
            int type = XkbOneLevelIndex;
            if (XkbChangeTypesOfKey(xkb, keycode, 1, XkbGroup1Mask, &type, &changes) != Success) {
                continue;
            }
            XkbKeySymsPtr(xkb, keycode)[0] = spare->keysym;
            held_.remapped[spare->keycode & 0xFF] = true;
        } else {
            XkbChangeTypesOfKey(xkb, keycode, 0, XkbGroup1Mask, nullptr, &changes);
        }
        low = std::min(low, spare->keycode);
        high = std::max(high, spare->keycode);
    }
    if (low <= high) {
        changes.changed = XkbKeySymsMask;
        changes.first_key_sym = static_cast<KeyCode>(low);
        changes.num_key_syms = static_cast<unsigned char>(high - low + 1);
        XkbChangeMap(display_, xkb, &changes);
    }
    XSync(display_, False);
    for (const Spare* spare : spares) {
        if (spare->keysym == NoSymbol) {
            held_.remapped[spare->keycode & 0xFF] = false;
        }
    }
    XkbFreeKeyboard(xkb, 0, True);
}

void X11Typist::clearSpares() {
    std::vector<Spare*> mapped;
    for (Spare& spare : spares_) {
        if (spare.keysym != NoSymbol) {
            mapped.push_back(&spare);
        }
    }
    if (mapped.empty()) {
        return;
    }
    XSync(display_, False);
    const auto now = Clock::now();
    for (Spare* spare : mapped) {
        if (spare->usedSinceSync) {
            spare->deliveredBy = now;
            spare->usedSinceSync = false;
        }
    }
    waitUntilReceiversCaughtUp(mapped);
    for (Spare* spare : mapped) {
        spare->keysym = NoSymbol;
    }
    writeSpares(mapped);
}

void X11Typist::flushSometimes() {
    if (++unflushed_ >= flushEvery) {
        XFlush(display_);
        unflushed_ = 0;
    }
}

}  // namespace pontrel
