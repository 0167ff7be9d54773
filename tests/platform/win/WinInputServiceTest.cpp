#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "engine/KeyTextParser.h"
#include "platform/win/KeyInputs.h"
#include "platform/win/WideText.h"
#include "platform/win/WinInputService.h"

namespace pontrel::test {
namespace {

// A window with a focused multi-line text field that receives what is typed.
class TypingTarget {
public:
    TypingTarget() {
        window_ =
            CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"",
                            WS_POPUP | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_WANTRETURN, 200,
                            200, 300, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(window_);
        SetFocus(window_);
        pumpUntil([] { return false; }, std::chrono::milliseconds(200));
    }
    ~TypingTarget() { DestroyWindow(window_); }
    TypingTarget(const TypingTarget&) = delete;
    TypingTarget& operator=(const TypingTarget&) = delete;

    std::string text() const {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
        return narrow(text);
    }

private:
    HWND window_ = nullptr;
};

struct WinInputServiceTest : ::testing::Test {
    WinInputService input;

    void send(const std::string& keyText) {
        const KeyTextParse parsed = parseKeyText(keyText);
        ASSERT_FALSE(parsed.error) << keyText;
        ASSERT_TRUE(input.sendKeys(parsed.actions).ok());
        input.drainQueuedInput();
    }
};

TEST_F(WinInputServiceTest, TypedTextWithUmlautsAndNamedKeysArrivesInTheFocusedField) {
    const TypingTarget target;
    send("Grüße{LEFT}{BACKSPACE}X{END}!{ENTER}+ab{TAB}€ 100{%}");
    const std::string expected = "GrüXe!\r\nAb\t€ 100%";
    EXPECT_TRUE(pumpUntil([&] { return target.text() == expected; })) << target.text();
}

TEST_F(WinInputServiceTest, TheKeyStateSeesAFreshPressOnceThenTheHeldKey) {
    const TypingTarget target;
    constexpr int f8 = 0x77;
    const auto settle = [] { pumpUntil([] { return false; }, std::chrono::milliseconds(100)); };
    (void)input.asyncKeyState(f8);  // forget earlier presses

    ASSERT_TRUE(input.sendKeys({{KeyAction::Kind::Press, NamedKey::F8, 0}}).ok());
    input.drainQueuedInput();
    settle();
    EXPECT_EQ(input.asyncKeyState(f8), keyDownNow | keyPressedSinceLastQuery);
    EXPECT_EQ(input.asyncKeyState(f8), keyDownNow);

    // A stop releases what the typing left held.
    input.cancelQueuedInput();
    settle();
    EXPECT_EQ(input.asyncKeyState(f8), 0);
}

TEST_F(WinInputServiceTest, ThePointerGoesWhereAskedAndUnknownMouseFlagsAreRefused) {
    const TypingTarget target;
    for (const ScreenPoint point :
         {ScreenPoint{100, 200}, ScreenPoint{0, 0}, ScreenPoint{640, 480}}) {
        ASSERT_TRUE(input.setCursorPos(point.x, point.y).ok());
        input.drainQueuedInput();
        EXPECT_TRUE(pumpUntil([&] { return input.cursorPos() == point; }))
            << point.x << "," << point.y;
    }
    EXPECT_FALSE(input.mouseEvent(0).ok());
    EXPECT_FALSE(input.mouseEvent(128).ok());
}

// Characters go as Unicode packets unless a modifier is held; then as the layout's key.
TEST(KeyInputsTest, CharactersBecomePacketsOrLayoutKeysNamedKeysVirtualKeys) {
    KeyInputs plain(GetKeyboardLayout(0));
    plain.add(parseKeyText("ä{LEFT}").actions);
    ASSERT_EQ(plain.inputs().size(), 4u);
    EXPECT_EQ(plain.inputs()[0].ki.dwFlags, static_cast<DWORD>(KEYEVENTF_UNICODE));
    EXPECT_EQ(plain.inputs()[0].ki.wScan, L'ä');
    EXPECT_EQ(plain.inputs()[1].ki.dwFlags,
              static_cast<DWORD>(KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    EXPECT_EQ(plain.inputs()[2].ki.wVk, VK_LEFT);
    EXPECT_EQ(plain.inputs()[2].ki.dwFlags, static_cast<DWORD>(KEYEVENTF_EXTENDEDKEY));

    KeyInputs control(GetKeyboardLayout(0));
    control.add(parseKeyText("^c").actions);
    ASSERT_EQ(control.inputs().size(), 4u);
    EXPECT_EQ(control.inputs()[0].ki.wVk, VK_CONTROL);
    EXPECT_EQ(control.inputs()[1].ki.wVk, 'C');
    EXPECT_EQ(control.inputs()[1].ki.dwFlags, 0u);
    EXPECT_EQ(control.inputs()[2].ki.wVk, 'C');
    EXPECT_EQ(control.inputs()[3].ki.wVk, VK_CONTROL);
    EXPECT_EQ(control.inputs()[3].ki.dwFlags, static_cast<DWORD>(KEYEVENTF_KEYUP));

    KeyInputs astral(GetKeyboardLayout(0));
    astral.add(parseKeyText("😀").actions);
    ASSERT_EQ(astral.inputs().size(), 4u);
    EXPECT_EQ(astral.inputs()[0].ki.wScan, 0xD83D);
    EXPECT_EQ(astral.inputs()[1].ki.wScan, 0xDE00);
}

}  // namespace
}  // namespace pontrel::test
