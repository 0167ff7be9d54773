#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <windows.h>

#include "platform/controls/Form.h"
#include "platform/controls/PendingSync.h"
#include "platform/win/WinControlView.h"

namespace pontrel {

// The main window: the form and its controls, each as a native child window at its design place,
// converted from twips to pixels. Changes the program makes to the controls reach the windows
// once per turn of the message loop, with their notifications ignored; what the user does goes
// into the controls.
class WinMainWindow : private WinViewHost, private ControlObserver {
public:
    // The controls in drawing order: a later one lies on top of an earlier one.
    WinMainWindow(Form& form, const std::vector<Control*>& controls);
    ~WinMainWindow() override;
    WinMainWindow(const WinMainWindow&) = delete;
    WinMainWindow& operator=(const WinMainWindow&) = delete;

    HWND handle() const { return window_; }
    // Runs when the user closes the window; without one the window closes and the loop ends.
    void setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }
    // From now on the window is shown or hidden as the form's visible property says.
    void showForm();
    // Brings every child window up to date now instead of on the next turn of the loop.
    void flushPending() override;
    // The child window that mirrors a control, for tests; nothing for one without a view.
    HWND controlWindow(const Control& control) const;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    WinControlView* viewOf(HWND child) const;

    void markDirty(const Control& control) override;
    HBRUSH brush(Colour colour) override;
    Colour backColour() const override { return form_.backColour(); }
    void controlChanged(const Control& control) override { markDirty(control); }
    void syncView(std::size_t index);
    void syncForm();
    RECT toPixels(const Rect& twips) const;

    Form& form_;
    HWND window_ = nullptr;
    WinFonts fonts_;
    int perPixelX_;
    int perPixelY_;
    bool showing_ = false;
    int syncing_ = 0;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::function<void()> closeHandler_;
    std::vector<std::pair<Control*, std::unique_ptr<WinControlView>>> views_;
    PendingSync pending_;
    std::map<HWND, std::size_t> windowIndex_;
    std::map<Colour, HBRUSH> brushes_;
};

}  // namespace pontrel
