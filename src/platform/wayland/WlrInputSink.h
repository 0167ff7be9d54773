#pragma once

#include <functional>
#include <memory>

#include "platform/InputQueue.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WlrKeyboard.h"
#include "platform/wayland/WlrPointer.h"

namespace pontrel {

class SwayIpc;

// Synthesized input on the wlroots desktops: a virtual keyboard and pointer on a Wayland
// connection of their own. Before each text it asks sway whether the focused window runs under
// XWayland, which takes events only at a slower pace; elsewhere, when in doubt, it paces.
class WlrInputSink final : public InputSink {
public:
    // Told of every key about to be pressed, so that the key state does not count it.
    using PressAnnouncer = std::function<void(NamedKey)>;

    // focus: sway's IPC, or null on other wlroots desktops.
    explicit WlrInputSink(SwayIpc* focus, PressAnnouncer announce = {});
    ~WlrInputSink() override;

    // False when the desktop lacks the virtual keyboard or pointer.
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
    SwayIpc* focus_;
    PressAnnouncer announce_;
    WaylandConnection connection_;
    WlrKeyboard keyboard_{connection_};
    WlrPointer pointer_{connection_};
};

}  // namespace pontrel
