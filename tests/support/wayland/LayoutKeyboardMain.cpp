// Stands in for the user's keyboard and mouse in a headless sway: a virtual keyboard with the XKB
// layout named on the command line and a virtual pointer, kept until the program is ended.
// Prints "ready" once the seat has both.

#include <sys/mman.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/WaylandConnection.h"
#include "virtual-keyboard-unstable-v1-client.h"
#include "wlr-virtual-pointer-unstable-v1-client.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LAYOUT\n", argv[0]);
        return 2;
    }
    pontrel::WaylandConnection connection;
    if (!connection.usable() || connection.keyboardManager() == nullptr ||
        connection.pointerManager() == nullptr) {
        std::fprintf(stderr, "no virtual keyboard or pointer: %s\n", connection.error().c_str());
        return 1;
    }
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    xkb_rule_names names{};
    names.layout = argv[1];
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr) {
        std::fprintf(stderr, "unknown layout %s\n", argv[1]);
        return 1;
    }
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const std::size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("layout-keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != static_cast<ssize_t>(size)) {
        return 1;
    }
    auto* keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
        connection.keyboardManager(), connection.seat());
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                   static_cast<std::uint32_t>(size));
    zwlr_virtual_pointer_manager_v1_create_virtual_pointer(connection.pointerManager(),
                                                           connection.seat());
    if (!connection.roundtrip()) {
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (wl_display_dispatch(connection.display()) >= 0) {
    }
    return 0;
}
