#include "platform/win/WinMainWindow.h"

#include <cmath>

#include "platform/win/WideText.h"
#include "platform/win/WinPictures.h"
#include "platform/win/WinWindowService.h"

namespace pontrel {

namespace {

constexpr wchar_t className[] = L"PontrelMainWindow";
constexpr UINT flushMessage = WM_APP + 1;
constexpr DWORD windowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HFONT makeFont(int pixelHeight, bool bold) {
    return CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, L"Tahoma");
}

int toPixels(int twips, int perPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / perPixel));
}

}  // namespace

WinMainWindow::WinMainWindow(Form& form, const std::vector<Control*>& controls)
    : form_(form),
      perPixelX_(twipsPerPixel(LOGPIXELSX)),
      perPixelY_(twipsPerPixel(LOGPIXELSY)),
      pending_(form_, [this] { PostMessageW(window_, flushMessage, 0, 0); }) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WinMainWindow::windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered

    fonts_.normal = makeFont(10, false);
    fonts_.bold = makeFont(10, true);
    fonts_.title = makeFont(16, true);
    fonts_.small = makeFont(9, false);

    window_ = CreateWindowExW(0, className, L"", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                              100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    form_.setObserver(this);
    // Each new child goes on top of the earlier ones, as the drawing order asks.
    for (Control* control : controls) {
        std::unique_ptr<WinControlView> view = makeWinControlView(*control, *this, window_, fonts_);
        if (!view) {
            continue;
        }
        SetWindowPos(view->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        control->setObserver(this);
        pending_.add(*control);
        windowIndex_.emplace(view->window(), views_.size());
        views_.emplace_back(control, std::move(view));
    }
    syncForm();
    for (std::size_t i = 0; i < views_.size(); ++i) {
        syncView(i);
    }
}

WinMainWindow::~WinMainWindow() {
    for (auto& [control, view] : views_) {
        control->setObserver(nullptr);
    }
    form_.setObserver(nullptr);
    views_.clear();
    DestroyWindow(window_);
    for (const auto& [colour, brush] : brushes_) {
        DeleteObject(brush);
    }
    for (HFONT font : {fonts_.normal, fonts_.bold, fonts_.title, fonts_.small}) {
        DeleteObject(font);
    }
    for (HICON icon : {bigIcon_, smallIcon_}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

void WinMainWindow::showForm() {
    showing_ = true;
    flushPending();
    ShowWindow(window_, form_.visible() ? SW_SHOW : SW_HIDE);
    UpdateWindow(window_);
}

HWND WinMainWindow::controlWindow(const Control& control) const {
    const auto index = pending_.indexOf(control);
    return index ? views_[*index].second->window() : nullptr;
}

void WinMainWindow::markDirty(const Control& control) {
    pending_.mark(control);
}

void WinMainWindow::flushPending() {
    pending_.flush([this] { syncForm(); }, [this](std::size_t i) { syncView(i); });
}

RECT WinMainWindow::toPixels(const Rect& twips) const {
    return {pontrel::toPixels(twips.left, perPixelX_), pontrel::toPixels(twips.top, perPixelY_),
            pontrel::toPixels(twips.left + twips.width, perPixelX_),
            pontrel::toPixels(twips.top + twips.height, perPixelY_)};
}

void WinMainWindow::syncView(std::size_t index) {
    const Control& control = *views_[index].first;
    WinControlView& view = *views_[index].second;
    HWND child = view.window();
    ++syncing_;
    view.sync();
    const RECT area = toPixels(control.geometry());
    SetWindowPos(child, nullptr, area.left, area.top, std::max(0L, area.right - area.left),
                 std::max(0L, area.bottom - area.top) + view.extraHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    EnableWindow(child, control.enabled() ? TRUE : FALSE);
    ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
    --syncing_;
}

void WinMainWindow::syncForm() {
    SetWindowTextW(window_, widen(form_.caption()).c_str());
    if (form_.icon() == "pontrel" && bigIcon_ == nullptr) {
        bigIcon_ = createProgramIcon(GetSystemMetrics(SM_CXICON));
        smallIcon_ = createProgramIcon(GetSystemMetrics(SM_CXSMICON));
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    }
    RECT outer = toPixels({0, 0, form_.clientWidth(), form_.clientHeight()});
    AdjustWindowRectEx(&outer, windowStyle, FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
    if (showing_) {
        ShowWindow(window_, form_.visible() ? SW_SHOW : SW_HIDE);
    }
}

HBRUSH WinMainWindow::brush(Colour colour) {
    const auto found = brushes_.find(colour);
    if (found != brushes_.end()) {
        return found->second;
    }
    HBRUSH made = CreateSolidBrush(toColorRef(colour));
    brushes_.emplace(colour, made);
    return made;
}

WinControlView* WinMainWindow::viewOf(HWND child) const {
    const auto found = windowIndex_.find(child);
    return found == windowIndex_.end() ? nullptr : views_[found->second].second.get();
}

LRESULT WinMainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case flushMessage:
            flushPending();
            return 0;
        case WM_COMMAND:
            if (syncing_ == 0) {
                if (WinControlView* view = viewOf(reinterpret_cast<HWND>(lParam))) {
                    view->command(HIWORD(wParam));
                }
            }
            return 0;
        case WM_HSCROLL:
            if (WinControlView* view = viewOf(reinterpret_cast<HWND>(lParam))) {
                view->scroll(LOWORD(wParam));
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (WinControlView* view = viewOf(item->hwndItem)) {
                view->draw(*item);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (WinControlView* view = viewOf(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH background = view->colours(reinterpret_cast<HDC>(wParam))) {
                    return reinterpret_cast<LRESULT>(background);
                }
            }
            break;
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush(form_.backColour()));
            return 1;
        }
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
                form_.setMinimized(wParam == SIZE_MINIMIZED);
            }
            break;
        case WM_CLOSE:
            if (closeHandler_) {
                closeHandler_();
                return 0;
            }
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            if (!closeHandler_) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK WinMainWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<WinMainWindow*>(creation->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WinMainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

}  // namespace pontrel
