#include "platform/wayland/LayoutKeys.h"

#include <sys/mman.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

constexpr auto seatKeymapTimeout = 500ms;

// The keymap the seat's keyboard has: the user's layout.
struct SeatKeymap {
    std::string text;
    bool done = false;

    static void keymap(void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
        auto& self = *static_cast<SeatKeymap*>(data);
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
            void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (mapped != MAP_FAILED) {
                const char* text = static_cast<const char*>(mapped);
                self.text.assign(text, strnlen(text, size));
                munmap(mapped, size);
            }
        }
        close(fd);
        self.done = true;
    }
    static void enter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
    static void leave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
    static void key(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                    std::uint32_t) {}
    static void modifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                          std::uint32_t, std::uint32_t) {}
    static void repeat(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
};

}  // namespace

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

// Control characters in a text are typed as the keys that produce them; other control
// characters are left out.
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

std::string readSeatKeymap(WaylandConnection& connection) {
    static const wl_keyboard_listener listener = {
        SeatKeymap::keymap, SeatKeymap::enter,     SeatKeymap::leave,
        SeatKeymap::key,    SeatKeymap::modifiers, SeatKeymap::repeat,
    };
    if (!connection.seatHasKeyboard()) {
        return {};
    }
    SeatKeymap seatKeymap;
    wl_keyboard* keyboard = wl_seat_get_keyboard(connection.seat());
    wl_keyboard_add_listener(keyboard, &listener, &seatKeymap);
    connection.dispatchUntil([&] { return seatKeymap.done; }, seatKeymapTimeout);
    wl_keyboard_destroy(keyboard);
    return seatKeymap.text;
}

std::string keymapFromEnvironment() {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context == nullptr) {
        return {};
    }
    // Empty names take the XKB_DEFAULT_* variables, else the "us" layout.
    const xkb_rule_names names{};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    std::string text;
    if (keymap != nullptr) {
        char* written = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        text = written != nullptr ? written : "";
        std::free(written);
        xkb_keymap_unref(keymap);
    }
    xkb_context_unref(context);
    return text;
}

}  // namespace pontrel
