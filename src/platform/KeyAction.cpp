#include "platform/KeyAction.h"

#include <array>
#include <cstddef>

namespace pontrel {

namespace {

struct KeyInfo {
    const char* name;
    int virtualKey;
};

// In the order of NamedKey.
constexpr std::array kKeys{
    KeyInfo{"Shift", 0x10},
    KeyInfo{"Ctrl", 0x11},
    KeyInfo{"Alt", 0x12},
    KeyInfo{"Backspace", 0x08},
    KeyInfo{"Break", 0x03},
    KeyInfo{"CapsLock", 0x14},
    KeyInfo{"Clear", 0x0C},
    KeyInfo{"Delete", 0x2E},
    KeyInfo{"Down", 0x28},
    KeyInfo{"End", 0x23},
    KeyInfo{"Enter", 0x0D},
    KeyInfo{"Escape", 0x1B},
    KeyInfo{"Help", 0x2F},
    KeyInfo{"Home", 0x24},
    KeyInfo{"Insert", 0x2D},
    KeyInfo{"Left", 0x25},
    KeyInfo{"NumLock", 0x90},
    KeyInfo{"PageDown", 0x22},
    KeyInfo{"PageUp", 0x21},
    KeyInfo{"PrintScreen", 0x2C},
    KeyInfo{"Right", 0x27},
    KeyInfo{"ScrollLock", 0x91},
    KeyInfo{"Tab", 0x09},
    KeyInfo{"Up", 0x26},
    KeyInfo{"F1", 0x70},
    KeyInfo{"F2", 0x71},
    KeyInfo{"F3", 0x72},
    KeyInfo{"F4", 0x73},
    KeyInfo{"F5", 0x74},
    KeyInfo{"F6", 0x75},
    KeyInfo{"F7", 0x76},
    KeyInfo{"F8", 0x77},
    KeyInfo{"F9", 0x78},
    KeyInfo{"F10", 0x79},
    KeyInfo{"F11", 0x7A},
    KeyInfo{"F12", 0x7B},
    KeyInfo{"F13", 0x7C},
    KeyInfo{"F14", 0x7D},
    KeyInfo{"F15", 0x7E},
    KeyInfo{"F16", 0x7F},
    KeyInfo{"NumpadAdd", 0x6B},
    KeyInfo{"NumpadSubtract", 0x6D},
    KeyInfo{"NumpadMultiply", 0x6A},
    KeyInfo{"NumpadDivide", 0x6F},
};
static_assert(kKeys.size() == static_cast<std::size_t>(NamedKey::NumpadDivide) + 1,
              "one entry per NamedKey");

const KeyInfo& info(NamedKey key) {
    return kKeys[static_cast<std::size_t>(key)];
}

}  // namespace

std::string keyName(NamedKey key) {
    return info(key).name;
}

int virtualKeyCode(NamedKey key) {
    return info(key).virtualKey;
}

}  // namespace pontrel
