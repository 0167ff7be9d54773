#include "platform/win/WinRecorder.h"

#include <array>
#include <utility>

#include "platform/win/WideText.h"

namespace pontrel {

namespace {

// The hook procedures get no context of their own; one recording runs at a time.
WinRecorder* activeRecorder = nullptr;

struct NamedKey {
    DWORD virtualKey;
    const char* name;
};

// Keys that key text writes by name. Lock keys are left out: the characters they change are
// recorded as typed.
constexpr NamedKey namedKeys[] = {
    {VK_RETURN, "ENTER"}, {VK_TAB, "TAB"},     {VK_BACK, "BS"},   {VK_DELETE, "DEL"},
    {VK_INSERT, "INS"},   {VK_ESCAPE, "ESC"},  {VK_UP, "UP"},     {VK_DOWN, "DOWN"},
    {VK_LEFT, "LEFT"},    {VK_RIGHT, "RIGHT"}, {VK_HOME, "HOME"}, {VK_END, "END"},
    {VK_PRIOR, "PGUP"},   {VK_NEXT, "PGDN"},
};
constexpr DWORD functionKeyCount = 16;

std::string keyName(DWORD virtualKey) {
    for (const NamedKey& key : namedKeys) {
        if (key.virtualKey == virtualKey) {
            return key.name;
        }
    }
    if (virtualKey >= VK_F1 && virtualKey < VK_F1 + functionKeyCount) {
        return "F" + std::to_string(virtualKey - VK_F1 + 1);
    }
    return {};
}

bool isModifierOrLock(DWORD virtualKey) {
    switch (virtualKey) {
        case VK_SHIFT:
        case VK_LSHIFT:
        case VK_RSHIFT:
        case VK_CONTROL:
        case VK_LCONTROL:
        case VK_RCONTROL:
        case VK_MENU:
        case VK_LMENU:
        case VK_RMENU:
        case VK_LWIN:
        case VK_RWIN:
        case VK_CAPITAL:
        case VK_NUMLOCK:
        case VK_SCROLL:
            return true;
        default:
            return false;
    }
}

bool held(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

bool printable(const std::wstring& text) {
    return !text.empty() && text[0] >= L' ' && text[0] != 0x7F;
}

}  // namespace

WinRecorder::~WinRecorder() {
    stopRecording();
}

Status WinRecorder::startRecording() {
    stopRecording();
    activeRecorder = this;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    keyboard_ = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardHook, module, 0);
    mouse_ = SetWindowsHookExW(WH_MOUSE_LL, mouseHook, module, 0);
    if (keyboard_ == nullptr || mouse_ == nullptr) {
        const std::string error = lastErrorText("SetWindowsHookEx");
        stopRecording();
        return Status::failure(error);
    }
    return Status::success();
}

std::vector<RecordedInput> WinRecorder::takeRecorded() {
    return std::exchange(seen_, {});
}

void WinRecorder::stopRecording() {
    for (HHOOK* hook : {&keyboard_, &mouse_}) {
        if (*hook != nullptr) {
            UnhookWindowsHookEx(*hook);
            *hook = nullptr;
        }
    }
    if (activeRecorder == this) {
        activeRecorder = nullptr;
    }
    highSurrogate_.reset();
    seen_.clear();
}

LRESULT CALLBACK WinRecorder::keyboardHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && activeRecorder != nullptr &&
        (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        activeRecorder->keyDown(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(data));
    }
    return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK WinRecorder::mouseHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && activeRecorder != nullptr) {
        activeRecorder->buttonDown(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
    }
    return CallNextHookEx(nullptr, code, message, data);
}

void WinRecorder::keyDown(const KBDLLHOOKSTRUCT& key) {
    if (isModifierOrLock(key.vkCode)) {
        return;
    }
    RecordedInput input;
    input.time = key.time;
    input.ctrl = held(VK_CONTROL);
    input.alt = held(VK_MENU);
    if (key.vkCode == VK_PACKET) {
        // A character typed as such (SendInput with KEYEVENTF_UNICODE): the scan code holds it.
        const auto unit = static_cast<wchar_t>(key.scanCode);
        if (IS_HIGH_SURROGATE(unit)) {
            highSurrogate_ = unit;
            return;
        }
        std::wstring text;
        if (highSurrogate_ && IS_LOW_SURROGATE(unit)) {
            text += *highSurrogate_;
        }
        highSurrogate_.reset();
        text += unit;
        input.kind = RecordedInput::Kind::Character;
        input.text = narrow(text);
        input.ctrl = input.alt = false;
        add(std::move(input));
        return;
    }
    if (std::string name = keyName(key.vkCode); !name.empty()) {
        input.kind = RecordedInput::Kind::Key;
        input.text = std::move(name);
        input.shift = held(VK_SHIFT);
        add(std::move(input));
        return;
    }
    bool chord = true;
    const std::wstring text = characterOf(key, input.ctrl, input.alt, chord);
    if (!printable(text)) {
        return;
    }
    input.kind = RecordedInput::Kind::Character;
    input.text = narrow(text);
    input.ctrl = input.ctrl && chord;
    input.alt = input.alt && chord;
    add(std::move(input));
}

std::wstring WinRecorder::characterOf(const KBDLLHOOKSTRUCT& key, bool ctrl, bool alt,
                                      bool& chord) {
    const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    std::array<BYTE, 256> state{};
    state[VK_SHIFT] = held(VK_SHIFT) ? 0x80 : 0;
    state[VK_CAPITAL] = static_cast<BYTE>(GetKeyState(VK_CAPITAL) & 1);
    std::array<wchar_t, 8> buffer{};
    const auto translate = [&] {
        const int length = ToUnicodeEx(key.vkCode, key.scanCode, state.data(), buffer.data(),
                                       static_cast<int>(buffer.size()), 0, layout);
        return length > 0 ? std::wstring(buffer.data(), static_cast<std::size_t>(length))
                          : std::wstring();
    };
    // Ctrl+Alt is AltGr on Windows: where the layout has a character there, it is typed, not
    // a chord.
    if (ctrl && alt) {
        state[VK_CONTROL] = state[VK_MENU] = 0x80;
        if (std::wstring text = translate(); printable(text)) {
            chord = false;
            return text;
        }
        state[VK_CONTROL] = state[VK_MENU] = 0;
    }
    chord = true;
    return translate();
}

void WinRecorder::buttonDown(WPARAM message, const MSLLHOOKSTRUCT& mouse) {
    RecordedButton button = RecordedButton::Left;
    switch (message) {
        case WM_LBUTTONDOWN:
            break;
        case WM_MBUTTONDOWN:
            button = RecordedButton::Middle;
            break;
        case WM_RBUTTONDOWN:
            button = RecordedButton::Right;
            break;
        default:
            return;  // moves, releases, the wheel
    }
    add(RecordedInput::click(mouse.time, button, mouse.pt.x, mouse.pt.y));
}

void WinRecorder::add(RecordedInput input) {
    seen_.push_back(std::move(input));
}

}  // namespace pontrel
