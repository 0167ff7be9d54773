#include "platform/wayland/InputCodes.h"

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

namespace pontrel {

Keysym namedKeysym(NamedKey key) {
    switch (key) {
        case NamedKey::Shift:
            return XKB_KEY_Shift_L;
        case NamedKey::Ctrl:
            return XKB_KEY_Control_L;
        case NamedKey::Alt:
            return XKB_KEY_Alt_L;
        case NamedKey::Backspace:
            return XKB_KEY_BackSpace;
        case NamedKey::Break:
            return XKB_KEY_Break;
        case NamedKey::CapsLock:
            return XKB_KEY_Caps_Lock;
        case NamedKey::Clear:
            return XKB_KEY_Clear;
        case NamedKey::Delete:
            return XKB_KEY_Delete;
        case NamedKey::Down:
            return XKB_KEY_Down;
        case NamedKey::End:
            return XKB_KEY_End;
        case NamedKey::Enter:
            return XKB_KEY_Return;
        case NamedKey::Escape:
            return XKB_KEY_Escape;
        case NamedKey::Help:
            return XKB_KEY_Help;
        case NamedKey::Home:
            return XKB_KEY_Home;
        case NamedKey::Insert:
            return XKB_KEY_Insert;
        case NamedKey::Left:
            return XKB_KEY_Left;
        case NamedKey::NumLock:
            return XKB_KEY_Num_Lock;
        case NamedKey::PageDown:
            return XKB_KEY_Next;
        case NamedKey::PageUp:
            return XKB_KEY_Prior;
        case NamedKey::PrintScreen:
            return XKB_KEY_Print;
        case NamedKey::Right:
            return XKB_KEY_Right;
        case NamedKey::ScrollLock:
            return XKB_KEY_Scroll_Lock;
        case NamedKey::Tab:
            return XKB_KEY_Tab;
        case NamedKey::Up:
            return XKB_KEY_Up;
        case NamedKey::NumpadAdd:
            return XKB_KEY_KP_Add;
        case NamedKey::NumpadSubtract:
            return XKB_KEY_KP_Subtract;
        case NamedKey::NumpadMultiply:
            return XKB_KEY_KP_Multiply;
        case NamedKey::NumpadDivide:
            return XKB_KEY_KP_Divide;
        default:
            return XKB_KEY_F1 +
                   static_cast<Keysym>(static_cast<int>(key) - static_cast<int>(NamedKey::F1));
    }
}

Keysym characterKeysym(char32_t character) {
    switch (character) {
        case U'\t':
            return XKB_KEY_Tab;
        case U'\n':
        case U'\r':
            return XKB_KEY_Return;
        case U'\b':
            return XKB_KEY_BackSpace;
        default:
            break;
    }
    if (character < 0x20 || (character >= 0x7F && character < 0xA0)) {
        return XKB_KEY_NoSymbol;
    }
    return xkb_utf32_to_keysym(static_cast<std::uint32_t>(character));
}

std::string keysymName(int virtualKey) {
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        return "F" + std::to_string(virtualKey - 0x70 + 1);
    }
    if ((virtualKey >= '0' && virtualKey <= '9')) {
        return std::string(1, static_cast<char>(virtualKey));
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return std::string(1, static_cast<char>(virtualKey - 'A' + 'a'));
    }
    switch (virtualKey) {
        case 0x08:
            return "BackSpace";
        case 0x09:
            return "Tab";
        case 0x0D:
            return "Return";
        case 0x1B:
            return "Escape";
        case 0x20:
            return "space";
        default:
            return {};
    }
}

std::uint32_t linuxButton(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return BTN_LEFT;
        case MouseButton::Right:
            return BTN_RIGHT;
        case MouseButton::Middle:
            return BTN_MIDDLE;
    }
    return BTN_LEFT;
}

}  // namespace pontrel
