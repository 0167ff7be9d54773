#pragma once

#include <memory>

#include <windows.h>

#include "platform/controls/Control.h"
#include "platform/controls/Rect.h"

namespace pontrel {

// What a control's view needs of the window that holds it.
class WinViewHost {
public:
    virtual ~WinViewHost() = default;
    // The control's window is to be brought up to date on the next flush.
    virtual void markDirty(const Control& control) = 0;
    // Brings every window up to date now, before a user's action is read from one.
    virtual void flushPending() = 0;
    // A solid brush of a control colour (0x00BBGGRR), owned by the host.
    virtual HBRUSH brush(Colour colour) = 0;
    virtual Colour backColour() const = 0;
};

// Fonts of the window, owned by it.
struct WinFonts {
    HFONT normal = nullptr;
    HFONT bold = nullptr;
    HFONT title = nullptr;
    HFONT small = nullptr;
};

// One control mirrored into one native child window. The host keeps enabled, visible and
// geometry in step; the view the rest, and it feeds the user's actions back into the control.
class WinControlView {
public:
    virtual ~WinControlView() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }
    WinControlView(const WinControlView&) = delete;
    WinControlView& operator=(const WinControlView&) = delete;

    HWND window() const { return window_; }
    // Extra pixels below the design height (the open list of a drop-down).
    virtual int extraHeight() const { return 0; }

    // Called while the host ignores the window's notifications.
    virtual void sync() = 0;
    // A WM_COMMAND notification code from the window.
    virtual void command(WORD) {}
    // A WM_HSCROLL request from the window.
    virtual void scroll(WORD) {}
    virtual void draw(const DRAWITEMSTRUCT&) {}
    // WM_CTLCOLORSTATIC: the background brush, or nothing for the system's.
    virtual HBRUSH colours(HDC) { return nullptr; }

protected:
    WinControlView() = default;
    void create(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, HFONT font);

private:
    HWND window_ = nullptr;
};

// The view for a control of any kind the window shows; nothing for a kind it does not show.
std::unique_ptr<WinControlView> makeWinControlView(Control& control, WinViewHost& host, HWND parent,
                                                   const WinFonts& fonts);

// A colour of the controls (0x00BBGGRR) is GDI's COLORREF.
inline COLORREF toColorRef(Colour colour) {
    return static_cast<COLORREF>(colour) & 0x00FFFFFF;
}

}  // namespace pontrel
