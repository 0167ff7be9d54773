#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/InputQueue.h"
#include "platform/gnome/MutterRemoteDesktop.h"
#include "platform/wayland/HeldKeys.h"
#include "platform/wayland/PastedStretch.h"
#include "platform/wayland/TypingKeymap.h"

namespace pontrel {

// Synthesized input on GNOME through mutter's remote desktop session. Characters of the
// user's layout are typed as its keys, with Shift and AltGr pressed for their level (mutter's
// own choice of key for a keysym gets some wrong, '^' on the German layout); the others are
// pasted from the session's own clipboard, with the few plain characters between two of them,
// and the clipboard's earlier content is put back when the text is done. Named keys and chords
// are the layout's keys too.
class MutterInputSink final : public InputSink {
public:
    // announce: told of every key about to be pressed, so that the key state does not count it.
    explicit MutterInputSink(std::function<void(NamedKey)> announce = {});
    ~MutterInputSink() override;

    bool usable() const;
    // Why it is not usable.
    std::string error() const { return desktop_.error(); }

    void beginText(const KeyActions& text) override;
    void pressKey(NamedKey key) override;
    void releaseKey(NamedKey key) override;
    void typeCharacters(std::u32string_view run, const CancelCheck& cancelled) override;
    void movePointer(ScreenPoint point) override;
    void pressButton(MouseButton button) override;
    void releaseButton(MouseButton button) override;
    void flush() override;

private:
    struct LevelKey {
        std::uint32_t code = 0;  // evdev; 0: the layout has none
        std::uint32_t mods = 0;  // what it sets while held
    };

    // The keys that type the keysym: the modifier keys of its level, then its own; empty when
    // the layout lacks it or its level needs more than Shift and AltGr.
    std::vector<std::uint32_t> keysOf(Keysym keysym) const;
    std::uint32_t layoutCode(Keysym keysym) const;
    bool holds(NamedKey key) const;
    // Ctrl+Alt with a character gives its AltGr level, as on Windows: the keysym to type, with
    // Ctrl and Alt let go for it where it differs.
    Keysym chordTarget(Keysym keysym);
    LevelKey levelKey(Keysym keysym) const;
    CharacterWay wayOf(char32_t character) const;
    void paste(std::u32string_view text);
    // Whether programs took the clipboard's content `count` times in all, within the time.
    bool waitForTransfers(int count, std::chrono::milliseconds timeout);
    void waitUntilClipboardQuiet();
    void check(const char* what);

    std::function<void(NamedKey)> announce_;
    MutterRemoteDesktop desktop_;
    std::unique_ptr<XkbKeymap> layout_;
    LevelKey shift_;
    LevelKey altGr_;
    std::vector<HeldKey> held_;
    // The user's clipboard while a text with pasted characters is typed.
    std::optional<ClipboardContent> userClipboard_;
    bool pasted_ = false;
    // Whether mutter copies a new clipboard's content for itself; unknown until the first paste.
    std::optional<bool> mutterCopies_;
};

}  // namespace pontrel
