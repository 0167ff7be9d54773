#pragma once

#include <functional>
#include <string_view>

#include "platform/InputQueue.h"
#include "platform/kde/FakeInputKeyboard.h"
#include "platform/kde/KWinFakeInput.h"
#include "platform/kde/LinePace.h"
#include "platform/wayland/DataControlClipboard.h"
#include "platform/wayland/PastedStretch.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

// Synthesized input on KDE Plasma: KWin's fake input on a Wayland connection of its own, with
// the keys of the user's layout, paced for the focused field. Characters the layout lacks, with
// the few plain characters between two of them, are pasted: the clipboard is taken for them and
// what the user had there is put back at the end of the text.
class KWinInputSink final : public InputSink {
public:
    // Told of every key about to be pressed, so that the key state does not count it.
    using PressAnnouncer = std::function<void(NamedKey)>;

    explicit KWinInputSink(PressAnnouncer announce = {});
    ~KWinInputSink() override;

    // False when KWin does not offer this program its fake input.
    bool usable() const;

    void beginText(const KeyActions& text) override;
    void pressKey(NamedKey key) override;
    void releaseKey(NamedKey key) override;
    void typeCharacters(std::u32string_view run, const CancelCheck& cancelled) override;
    void movePointer(ScreenPoint point) override;
    void pressButton(MouseButton button) override;
    void releaseButton(MouseButton button) override;
    void flush() override;

private:
    CharacterWay wayOf(char32_t character) const;
    void paste(std::u32string_view text);

    PressAnnouncer announce_;
    WaylandConnection connection_;
    KWinFakeInput device_{connection_};
    FakeInputKeyboard keyboard_;
    DataControlClipboard clipboard_;
    LinePace pace_;
    bool clipboardSaved_ = false;
};

}  // namespace pontrel
