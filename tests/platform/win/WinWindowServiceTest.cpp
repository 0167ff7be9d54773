#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "WinTestSupport.h"
#include "platform/win/WideText.h"
#include "platform/win/WinMainWindow.h"
#include "platform/win/WinWindowService.h"
#include "support/VirtualClock.h"
#include "window/FormControls.h"

namespace pontrel::test {
namespace {

std::wstring menuText(HMENU menu, int position) {
    std::wstring text(128, L'\0');
    text.resize(
        static_cast<std::size_t>(GetMenuStringW(menu, static_cast<UINT>(position), text.data(),
                                                static_cast<int>(text.size()), MF_BYPOSITION)));
    return text;
}

int highlighted(HMENU menu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) {
            return i;
        }
    }
    return -1;
}

// The user at a pop-up menu, played from a second thread while the test's thread is inside the
// menu: reads the entries as shown, then walks down to the chosen one with the arrow key and
// presses Enter. Without a choice, or when the walk fails, Escape closes the menu.
class MenuUser {
public:
    explicit MenuUser(std::wstring choice = {})
        : choice_(std::move(choice)),
          menuThread_(GetCurrentThreadId()),
          thread_([this] { act(); }) {}
    ~MenuUser() { finish(); }
    MenuUser(const MenuUser&) = delete;
    MenuUser& operator=(const MenuUser&) = delete;

    // The entries once the menu has closed: "-" for a separator, " (greyed)" after a greyed one.
    const std::vector<std::string>& seen() {
        finish();
        return seen_;
    }
    // The menu's upper left corner on the screen.
    POINT corner() {
        finish();
        return {area_.left, area_.top};
    }

private:
    void finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void act() {
        HWND popup = nullptr;
        if (!pumpUntil([&] {
                popup = FindWindowW(L"#32768", nullptr);
                return popup != nullptr && IsWindowVisible(popup);
            })) {
            // Not found: should the menu be open after all, the test must not hang in it.
            PostThreadMessageW(menuThread_, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        GetWindowRect(popup, &area_);
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        int target = -1;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            if (state & MF_SEPARATOR) {
                seen_.emplace_back("-");
                continue;
            }
            const std::wstring text = menuText(menu, i);
            if (!choice_.empty() && text.starts_with(choice_)) {
                target = i;
            }
            seen_.push_back(narrow(text) + ((state & MF_GRAYED) ? " (greyed)" : ""));
        }
        const bool reached = target >= 0 && walkTo(popup, menu, target);
        PostMessageW(popup, WM_KEYDOWN, reached ? VK_RETURN : VK_ESCAPE, 0);
    }

    static bool walkTo(HWND popup, HMENU menu, int target) {
        for (int step = 0; step < GetMenuItemCount(menu) && highlighted(menu) != target; ++step) {
            const int before = highlighted(menu);
            PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
            if (!pumpUntil([&] { return highlighted(menu) != before; })) {
                return false;
            }
        }
        return highlighted(menu) == target;
    }

    std::wstring choice_;
    DWORD menuThread_;
    std::vector<std::string> seen_;
    RECT area_{};
    std::thread thread_;  // last: starts once the other members exist
};

// The main window with the service that acts on it. It stays hidden: under wine without a window
// manager every hiding of a shown window waits two seconds for the manager.
struct WinWindowServiceTest : ::testing::Test {
    VirtualClock clock;
    FormControls controls{clock};
    WinMainWindow window{controls.frm_pontrel, controls.allControls()};
    WinWindowService service;

    WinWindowServiceTest() { service.setWindow(window.handle()); }
    LONG_PTR exStyle() const { return GetWindowLongPtrW(window.handle(), GWL_EXSTYLE); }
};

TEST_F(WinWindowServiceTest, TheListsContextMenuShowsTheFormsEntriesAndRaisesOnlyTheChosenOne) {
    // As the form does: a right click on the list opens its menu there.
    controls.lst_code.MouseDown.connect([&](MouseButton button) {
        if (button == MouseButton::Right) {
            service.popupMenu(controls.mnulistboxcode);
        }
    });
    controls.mnucut.setEnabled(false);
    controls.mnudelete.setEnabled(false);
    controls.mnuall.setVisible(false);
    controls.mnudisplay.setCaption("Weniger anzeigen");
    std::vector<std::string> clicked;
    for (MenuItem* item : controls.mnulistboxcode.items()) {
        item->Click.connect([&clicked, item] { clicked.push_back(item->name()); });
    }
    const auto rightClickOnList = [&] {
        window.flushPending();
        SendMessageW(window.controlWindow(controls.lst_code), WM_RBUTTONDOWN, MK_RBUTTON,
                     MAKELPARAM(10, 10));
    };

    {
        MenuUser user;
        SetCursorPos(200, 150);
        rightClickOnList();
        EXPECT_EQ(user.corner().x, 200);  // at the pointer
        EXPECT_EQ(user.corner().y, 150);
        EXPECT_EQ(user.seen(), (std::vector<std::string>{
                                   "Neuer Befehl\tStrg+N",
                                   "-",
                                   "Ausschneiiden\tStrg+X (greyed)",
                                   "Kopieren\tStrg+C",
                                   "Einfügen\tStrg+V",
                                   "Löschen\tEntf (greyed)",
                                   "-",
                                   "Weniger anzeigen\tStrg+D",
                                   "-",
                                   "Aufnahme starten\tStrg+R",
                               }));
        EXPECT_TRUE(clicked.empty());  // Escape chooses nothing
    }
    for (const auto& [choice, name] :
         {std::pair{L"Einfügen", "mnupaste"}, std::pair{L"Weniger anzeigen", "mnudisplay"}}) {
        MenuUser user(choice);
        rightClickOnList();
        ASSERT_EQ(user.seen().size(), 10u);
        EXPECT_EQ(clicked, std::vector<std::string>{name});
        clicked.clear();
    }
}

TEST_F(WinWindowServiceTest, OpacityMakesTheWindowLayeredWithThatAlphaAcrossAFadeAndResizes) {
    EXPECT_FALSE(WinWindowService{}.setOpacity(128).ok());  // no window yet

    const auto alpha = [&] {
        BYTE value = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(window.handle(), nullptr, &value, &flags));
        EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
        return static_cast<int>(value);
    };
    // The ends of a fade out and in, then values out of range.
    for (const auto& [asked, shown] :
         {std::pair{255, 255}, std::pair{81, 81}, std::pair{80, 80}, std::pair{254, 254},
          std::pair{300, 255}, std::pair{-5, 0}}) {
        ASSERT_TRUE(service.setOpacity(asked).ok()) << asked;
        EXPECT_TRUE(exStyle() & WS_EX_LAYERED) << asked;
        EXPECT_EQ(alpha(), shown) << asked;
    }

    // Showing more of the list resizes the window; it stays as transparent as it was.
    ASSERT_TRUE(service.setOpacity(120).ok());
    controls.frm_pontrel.setOuterHeight(controls.frm_pontrel.outerHeight() + 1500);
    window.flushPending();
    EXPECT_TRUE(exStyle() & WS_EX_LAYERED);
    EXPECT_EQ(alpha(), 120);
}

TEST_F(WinWindowServiceTest, TopmostOnAndOffShowsInTheStyleAndKeepsTheWindowAboveOthers) {
    EXPECT_FALSE(WinWindowService{}.setTopmost(true).ok());  // no window yet

    ASSERT_TRUE(service.setTopmost(true).ok());
    EXPECT_TRUE(exStyle() & WS_EX_TOPMOST);
    // A window opened later still lies below it.
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    const auto otherBelow = [&] {
        for (HWND next = GetWindow(window.handle(), GW_HWNDNEXT); next != nullptr;
             next = GetWindow(next, GW_HWNDNEXT)) {
            if (next == other) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(otherBelow());

    // Turned off, it rejoins the other windows at their top rather than behind them.
    ASSERT_TRUE(service.setTopmost(false).ok());
    EXPECT_FALSE(exStyle() & WS_EX_TOPMOST);
    EXPECT_TRUE(otherBelow());
    DestroyWindow(other);
}

}  // namespace
}  // namespace pontrel::test
