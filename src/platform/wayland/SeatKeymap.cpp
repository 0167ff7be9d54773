#include "platform/wayland/SeatKeymap.h"

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
