#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <shlobj.h>

#include "WinTestSupport.h"
#include "platform/win/WideText.h"
#include "platform/win/WinMainWindow.h"
#include "support/VirtualClock.h"
#include "window/FormControls.h"

namespace pontrel::test {
namespace {

std::string textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

bool shown(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A file drop as the shell hands it over: a DROPFILES header, then each path ended by a NUL and
// one more NUL at the end. The receiver frees it.
template <typename Char>
HDROP dropOf(const std::vector<std::basic_string<Char>>& paths) {
    std::basic_string<Char> names;
    for (const auto& path : paths) {
        names += path;
        names += Char{};
    }
    names += Char{};
    const std::size_t nameBytes = names.size() * sizeof(Char);
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + nameBytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = sizeof(Char) == sizeof(wchar_t);
    std::memcpy(header + 1, names.data(), nameBytes);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// The form's controls in a real window; changes reach it at flush().
struct WinControlViewTest : ::testing::Test {
    VirtualClock clock;
    FormControls controls{clock};
    WinMainWindow window{controls.frm_pontrel, controls.allControls()};

    HWND of(const Control& control) { return window.controlWindow(control); }
    void flush() { window.flushPending(); }
    // A notification as the control sends it to the window when the user acts.
    void notify(const Control& control, WORD code) {
        SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(0, code),
                     reinterpret_cast<LPARAM>(of(control)));
    }
};

TEST_F(WinControlViewTest, ProgramChangesReachTheWindowsCoalescedAtTheNextTurn) {
    controls.txt_0_wait.setText("1500");
    controls.lbl_info.setCaption("Grüße & mehr");
    controls.cmd_start.setCaption("ESC=Stop");
    controls.cmd_neu.setEnabled(false);
    controls.txt_2_x.setVisible(false);
    controls.chk_0_transparenz.setValue(1);
    controls.opt_7_pc.select(3);
    controls.hsc_befehle.setMax(40);
    controls.hsc_befehle.setValue(12);
    EXPECT_NE(textOf(of(controls.txt_0_wait)), "1500");  // not yet: once per turn

    ASSERT_TRUE(pumpUntil([&] { return textOf(of(controls.txt_0_wait)) == "1500"; }));
    EXPECT_EQ(textOf(of(controls.lbl_info)), "Grüße & mehr");
    EXPECT_EQ(textOf(of(controls.cmd_start)), "ESC=Stop");
    EXPECT_FALSE(IsWindowEnabled(of(controls.cmd_neu)));
    EXPECT_FALSE(shown(of(controls.txt_2_x)));
    EXPECT_EQ(SendMessageW(of(controls.chk_0_transparenz), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(of(controls.opt_7_pc[3]), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(of(controls.opt_7_pc[0]), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(GetScrollPos(of(controls.hsc_befehle), SB_CTL), 12);
}

TEST_F(WinControlViewTest, TheListMirrorsItsRowsSelectionAndCurrentRow) {
    ListBox& list = controls.lst_code;
    list.setItems({"000 - code: 000", "001 - code: 001 wait: 0", "002 - Grüße", "003"});
    list.setSelected(1, true);
    list.setSelected(2, true);
    flush();
    HWND box = of(list);
    ASSERT_EQ(SendMessageW(box, LB_GETCOUNT, 0, 0), 4);
    std::wstring row(64, L'\0');
    row.resize(static_cast<std::size_t>(
        SendMessageW(box, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(row.data()))));
    EXPECT_EQ(narrow(row), "002 - Grüße");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(SendMessageW(box, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0, i == 1 || i == 2)
            << i;
    }
    EXPECT_EQ(SendMessageW(box, LB_GETCARETINDEX, 0, 0), 2);
}

TEST_F(WinControlViewTest, UserActionsGoIntoTheControls) {
    int changes = 0;
    controls.txt_4_eingabetext.Change.connect([&] { ++changes; });
    SetWindowTextW(of(controls.txt_4_eingabetext), L"Hallo Welt {ENTER}");  // as typing does
    EXPECT_EQ(controls.txt_4_eingabetext.text(), "Hallo Welt {ENTER}");
    EXPECT_EQ(changes, 1);

    flush();
    SendMessageW(of(controls.com_code), CB_SETCURSEL, 3, 0);
    notify(controls.com_code, CBN_SELCHANGE);
    EXPECT_EQ(controls.com_code.listIndex(), 3);

    int clicks = 0;
    controls.chk_0_vordergrund.Click.connect([&] { ++clicks; });
    SendMessageW(of(controls.chk_0_vordergrund), BM_CLICK, 0, 0);
    EXPECT_EQ(controls.chk_0_vordergrund.value(), 1);
    EXPECT_EQ(clicks, 1);

    int option = -1;
    controls.opt_3_click.Click.connect([&](int index) { option = index; });
    SendMessageW(of(controls.opt_3_click[2]), BM_CLICK, 0, 0);
    EXPECT_EQ(option, 2);
    EXPECT_EQ(controls.opt_3_click.selectedIndex(), 2);

    bool started = false;
    controls.cmd_start.Click.connect([&] { started = true; });
    SendMessageW(of(controls.cmd_start), BM_CLICK, 0, 0);
    EXPECT_TRUE(started);

    controls.hsc_befehle.setMax(10);
    controls.hsc_befehle.setValue(4);
    flush();
    SendMessageW(window.handle(), WM_HSCROLL, SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(of(controls.hsc_befehle)));
    EXPECT_EQ(controls.hsc_befehle.value(), 5);
}

TEST_F(WinControlViewTest, ListClicksKeysAndDoubleClicksReachTheListEvents) {
    ListBox& list = controls.lst_code;
    list.setItems({"a", "b", "c", "d"});
    flush();
    HWND box = of(list);
    const auto rowHeight = static_cast<int>(SendMessageW(box, LB_GETITEMHEIGHT, 0, 0));

    std::vector<bool> seenOnMouseDown;
    list.MouseDown.connect([&](MouseButton) { seenOnMouseDown = list.selection(); });
    const LPARAM thirdRow = MAKELPARAM(5, rowHeight * 2 + rowHeight / 2);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, thirdRow);
    SendMessageW(box, WM_LBUTTONUP, 0, thirdRow);
    EXPECT_EQ(seenOnMouseDown, (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(list.listIndex(), 2);

    std::vector<int> pressed;
    list.KeyPress.connect([&](int code) { pressed.push_back(code); });
    std::vector<int> released;
    list.KeyUp.connect([&](int code) { released.push_back(code); });
    for (const WPARAM character :
         {WPARAM{1}, WPARAM{3}, WPARAM{24}, WPARAM{22}, WPARAM{4}, WPARAM{14}}) {
        SendMessageW(box, WM_CHAR, character, 0);
    }
    SendMessageW(box, WM_KEYUP, VK_DELETE, 0);
    EXPECT_EQ(pressed, (std::vector<int>{1, 3, 24, 22, 4, 14}));
    EXPECT_EQ(released, (std::vector<int>{VK_DELETE}));

    int doubleClicks = 0;
    list.DblClick.connect([&] { ++doubleClicks; });
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, thirdRow);
    SendMessageW(box, WM_LBUTTONUP, 0, thirdRow);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(WinControlViewTest, FilesDroppedOnTheListReachItsEventAllInTheirOrder) {
    HWND box = of(controls.lst_code);
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    std::vector<std::vector<std::string>> drops;
    controls.lst_code.FilesDropped.connect(
        [&](const std::vector<std::string>& paths) { drops.push_back(paths); });

    PostMessageW(box, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(
                     dropOf<wchar_t>({L"C:\\Makros\\Grüße und mehr.qmc", L"D:\\zweites.qmc"})),
                 0);
    // From an older program the names come as ANSI.
    PostMessageW(box, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf<char>({"C:\\Makros\\alt.qmc"})),
                 0);
    ASSERT_TRUE(pumpUntil([&] { return drops.size() >= 2; }));
    EXPECT_EQ(drops, (std::vector<std::vector<std::string>>{
                         {"C:\\Makros\\Grüße und mehr.qmc", "D:\\zweites.qmc"},
                         {"C:\\Makros\\alt.qmc"},
                     }));
}

TEST_F(WinControlViewTest, ControlsSitAtTheirDesignPlaceInPixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const long perPixel = std::lround(1440.0 / dpi);
    RECT area{};
    GetWindowRect(of(controls.cmd_start), &area);
    MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&area), 2);
    // cmd_start: (2475, 4200, 900, 375) twips.
    EXPECT_EQ(area.left, std::lround(2475.0 / perPixel));
    EXPECT_EQ(area.top, std::lround(4200.0 / perPixel));
    EXPECT_EQ(area.right, std::lround((2475.0 + 900) / perPixel));
    EXPECT_EQ(area.bottom, std::lround((4200.0 + 375) / perPixel));
}

}  // namespace
}  // namespace pontrel::test
