#include "platform/win/KeyInputs.h"

namespace pontrel {

namespace {

// Keys of the extended block (arrows, the six above them, Num /, NumLock, Print).
bool isExtended(WORD virtualKey) {
    return (virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN) || virtualKey == VK_INSERT ||
           virtualKey == VK_DELETE || virtualKey == VK_DIVIDE || virtualKey == VK_NUMLOCK ||
           virtualKey == VK_SNAPSHOT;
}

INPUT keyboardInput(WORD virtualKey, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

}  // namespace

void KeyInputs::add(const KeyActions& actions) {
    for (const KeyAction& action : actions) {
        add(action);
    }
}

void KeyInputs::add(const KeyAction& action) {
    const auto virtualKey = static_cast<WORD>(virtualKeyCode(action.key));
    switch (action.kind) {
        case KeyAction::Kind::Press:
        case KeyAction::Kind::Release: {
            const bool down = action.kind == KeyAction::Kind::Press;
            if (action.key == NamedKey::Shift) {
                shift_ = down;
            } else if (action.key == NamedKey::Ctrl) {
                ctrl_ = down;
            } else if (action.key == NamedKey::Alt) {
                alt_ = down;
            }
            key(virtualKey, down);
            break;
        }
        case KeyAction::Kind::Tap:
            key(virtualKey, true);
            key(virtualKey, false);
            break;
        case KeyAction::Kind::Type: {
            const bool modified = shift_ || ctrl_ || alt_;
            const SHORT scan = modified && action.character <= 0xFFFF
                                   ? VkKeyScanExW(static_cast<WCHAR>(action.character), layout_)
                                   : SHORT{-1};
            if (scan == -1) {
                unicode(action.character);
            } else {
                layoutKey(scan);
            }
            break;
        }
    }
}

void KeyInputs::key(WORD virtualKey, bool down) {
    const auto scan = static_cast<WORD>(MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout_));
    DWORD flags = down ? 0 : KEYEVENTF_KEYUP;
    if (isExtended(virtualKey)) {
        flags |= KEYEVENTF_EXTENDEDKEY;
    }
    inputs_.push_back(keyboardInput(virtualKey, scan, flags));
}

void KeyInputs::unicode(char32_t character) {
    WCHAR units[2];
    int count = 1;
    if (character > 0xFFFF) {
        const char32_t rest = character - 0x10000;
        units[0] = static_cast<WCHAR>(0xD800 + (rest >> 10));
        units[1] = static_cast<WCHAR>(0xDC00 + (rest & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<WCHAR>(character);
    }
    for (const DWORD flags :
         {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
        for (int i = 0; i < count; ++i) {
            inputs_.push_back(keyboardInput(0, units[i], flags));
        }
    }
}

// The layout's key with the modifiers it needs beyond those already held.
void KeyInputs::layoutKey(SHORT scan) {
    const auto virtualKey = static_cast<WORD>(scan & 0xFF);
    const int needs = (scan >> 8) & 0x07;
    std::vector<WORD> extra;
    if ((needs & 1) != 0 && !shift_) {
        extra.push_back(VK_SHIFT);
    }
    if ((needs & 2) != 0 && !ctrl_) {
        extra.push_back(VK_CONTROL);
    }
    if ((needs & 4) != 0 && !alt_) {
        extra.push_back(VK_MENU);
    }
    for (const WORD modifier : extra) {
        key(modifier, true);
    }
    key(virtualKey, true);
    key(virtualKey, false);
    for (auto it = extra.rbegin(); it != extra.rend(); ++it) {
        key(*it, false);
    }
}

}  // namespace pontrel
