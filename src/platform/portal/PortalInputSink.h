#pragma once

#include <functional>

#include "platform/InputQueue.h"
#include "platform/portal/RemoteDesktopSession.h"

namespace pontrel {

// Synthesized input through the RemoteDesktop portal, as keysyms: the desktop finds the keys
// of its layout for them, and characters the layout lacks do not arrive. The session given
// starts with the first input, where the desktop may ask the user.
class PortalInputSink final : public InputSink {
public:
    // Told of every key about to be pressed, so that the key state does not count it.
    using PressAnnouncer = std::function<void(NamedKey)>;

    explicit PortalInputSink(RemoteDesktopSession& session, PressAnnouncer announce = {});

    void pressKey(NamedKey key) override;
    void releaseKey(NamedKey key) override;
    void typeCharacters(std::u32string_view run, const CancelCheck& cancelled) override;
    void movePointer(ScreenPoint point) override;
    void pressButton(MouseButton button) override;
    void releaseButton(MouseButton button) override;
    void flush() override {}

private:
    void sendKey(NamedKey key, bool down);

    RemoteDesktopSession& session_;
    PressAnnouncer announce_;
    bool ctrlDown_ = false;
    bool altDown_ = false;
};

}  // namespace pontrel
