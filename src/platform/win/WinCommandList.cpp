#include "platform/win/WinCommandList.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win/WideText.h"

namespace pontrel {

WinCommandList::WinCommandList(ListBox& list, WinViewHost& host, HWND parent, HFONT font)
    : list_(list), host_(host) {
    create(L"LISTBOX",
           LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL |
               WS_TABSTOP,
           WS_EX_CLIENTEDGE, parent, font);
    SetWindowSubclass(window(), &WinCommandList::subclassProc, 1,
                      reinterpret_cast<DWORD_PTR>(this));
    DragAcceptFiles(window(), TRUE);
}

WinCommandList::~WinCommandList() {
    RemoveWindowSubclass(window(), &WinCommandList::subclassProc, 1);
}

void WinCommandList::sync() {
    HWND box = window();
    const bool rebuilt = shownRevision_ != list_.itemsRevision();
    if (rebuilt) {
        shownRevision_ = list_.itemsRevision();
        SendMessageW(box, WM_SETREDRAW, FALSE, 0);
        SendMessageW(box, LB_RESETCONTENT, 0, 0);
        SendMessageW(box, LB_INITSTORAGE, static_cast<WPARAM>(list_.listCount()),
                     static_cast<LPARAM>(list_.listCount()) * 64);
        for (const std::string& item : list_.items()) {
            SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
        }
        SendMessageW(box, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(box, nullptr, TRUE);
    }
    // The selection in runs: one message per run of selected rows.
    SendMessageW(box, LB_SETSEL, FALSE, -1);
    const int rows = static_cast<int>(SendMessageW(box, LB_GETCOUNT, 0, 0));
    for (const auto& [first, last] : list_.selectedRuns(rows)) {
        SendMessageW(box, LB_SELITEMRANGEEX, static_cast<WPARAM>(first), last);
    }
    const int current = list_.listIndex();
    if (current >= 0 && current < rows) {
        // Scrolls the row into view only when it changed, so the user's scrolling is kept.
        const bool reveal = rebuilt || current != shownIndex_;
        if (reveal) {
            SendMessageW(box, LB_SETCARETINDEX, static_cast<WPARAM>(current), FALSE);
        }
    }
    shownIndex_ = current;
}

void WinCommandList::command(WORD code) {
    if (code == LBN_SELCHANGE) {
        applySelection();
    }
}

void WinCommandList::applySelection() {
    HWND box = window();
    const int rows = static_cast<int>(SendMessageW(box, LB_GETCOUNT, 0, 0));
    if (rows != list_.listCount()) {
        return;  // the rows changed under the user's action; the next flush shows them
    }
    std::vector<bool> selected(static_cast<std::size_t>(rows), false);
    const int count = static_cast<int>(SendMessageW(box, LB_GETSELCOUNT, 0, 0));
    if (count > 0) {
        std::vector<int> indices(static_cast<std::size_t>(count));
        const int got =
            static_cast<int>(SendMessageW(box, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                          reinterpret_cast<LPARAM>(indices.data())));
        for (int i = 0; i < got; ++i) {
            if (indices[static_cast<std::size_t>(i)] >= 0 &&
                indices[static_cast<std::size_t>(i)] < rows) {
                selected[static_cast<std::size_t>(indices[static_cast<std::size_t>(i)])] = true;
            }
        }
    }
    const int current = rows > 0 ? static_cast<int>(SendMessageW(box, LB_GETCARETINDEX, 0, 0)) : -1;
    if (selected != list_.selection() || current != list_.listIndex()) {
        list_.applyUserSelection(selected, current);
        shownIndex_ = current;
        host_.markDirty(list_);
    }
}

void WinCommandList::dropFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(narrow(path));
    }
    DragFinish(drop);
    if (!paths.empty()) {
        list_.FilesDropped(paths);
    }
}

LRESULT WinCommandList::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND box = window();
    switch (message) {
        case WM_LBUTTONDOWN: {
            host_.flushPending();
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            applySelection();
            list_.MouseDown(MouseButton::Left);
            return result;
        }
        case WM_RBUTTONDOWN:
            // The right button leaves the selection alone, as the context menu works on it.
            host_.flushPending();
            SetFocus(box);
            list_.MouseDown(MouseButton::Right);
            return 0;
        case WM_MBUTTONDOWN:
            host_.flushPending();
            list_.MouseDown(MouseButton::Middle);
            return 0;
        case WM_LBUTTONDBLCLK: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            applySelection();
            list_.DblClick();
            return result;
        }
        case WM_KEYDOWN:
            host_.flushPending();
            break;
        case WM_CHAR:
            if (wParam < 128) {
                list_.KeyPress(static_cast<int>(wParam));
                if (wParam < 32) {
                    return 0;  // Ctrl+letters, Enter, Escape: the program's, not the list's
                }
            }
            break;
        case WM_KEYUP: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            list_.KeyUp(static_cast<int>(wParam));
            return result;
        }
        case WM_DROPFILES:
            dropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK WinCommandList::subclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<WinCommandList*>(self)->handle(message, wParam, lParam);
}

}  // namespace pontrel
