#include "platform/portal/PortalInputSink.h"

#include <cstdio>
#include <stdexcept>

#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/InputCodes.h"

namespace pontrel {

namespace {

void check(const std::optional<std::string>& error) {
    if (error) {
        throw std::runtime_error("portal: " + *error);
    }
}

bool functionKey(NamedKey key) {
    return key >= NamedKey::F1 && key <= NamedKey::F12;
}

}  // namespace

PortalInputSink::PortalInputSink(RemoteDesktopSession& session, PressAnnouncer announce)
    : session_(session), announce_(std::move(announce)) {}

void PortalInputSink::sendKey(NamedKey key, bool down) {
    if (key == NamedKey::Ctrl) {
        ctrlDown_ = down;
    } else if (key == NamedKey::Alt) {
        altDown_ = down;
    } else if (ctrlDown_ && altDown_ && (functionKey(key) || key == NamedKey::Backspace)) {
        // Ctrl+Alt+F1..F12 would switch the virtual terminal, Ctrl+Alt+BackSpace may end the
        // session.
        if (down) {
            std::fprintf(stderr, "portal: Ctrl+Alt+%s is not sent\n", keyName(key).c_str());
        }
        return;
    }
    if (down && announce_) {
        announce_(key);
    }
    check(session_.key(namedKeysym(key), down));
}

void PortalInputSink::pressKey(NamedKey key) {
    sendKey(key, true);
}

void PortalInputSink::releaseKey(NamedKey key) {
    sendKey(key, false);
}

void PortalInputSink::typeCharacters(std::u32string_view run, const CancelCheck& cancelled) {
    for (const char32_t character : run) {
        if (cancelled()) {
            return;
        }
        const Keysym keysym = characterKeysym(character);
        if (keysym == XKB_KEY_NoSymbol) {
            continue;
        }
        check(session_.key(keysym, true));
        check(session_.key(keysym, false));
    }
}

void PortalInputSink::movePointer(ScreenPoint point) {
    check(session_.moveTo(point));
}

void PortalInputSink::pressButton(MouseButton button) {
    check(session_.button(static_cast<int>(linuxButton(button)), true));
}

void PortalInputSink::releaseButton(MouseButton button) {
    check(session_.button(static_cast<int>(linuxButton(button)), false));
}

}  // namespace pontrel
