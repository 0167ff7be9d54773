#pragma once

#include <cstdint>

#include "platform/controls/ListBox.h"
#include "platform/win/WinControlView.h"

namespace pontrel {

// The command list: a LISTBOX with extended selection. The control's selection is applied before
// MouseDown is raised; keys, double-clicks and dropped files go to the control's events. The
// list's own type-ahead search is kept; its meaning of Ctrl+letters is not.
class WinCommandList : public WinControlView {
public:
    WinCommandList(ListBox& list, WinViewHost& host, HWND parent, HFONT font);
    ~WinCommandList() override;

    void sync() override;
    void command(WORD code) override;

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void applySelection();
    void dropFiles(HDROP drop);

    ListBox& list_;
    WinViewHost& host_;
    std::uint64_t shownRevision_ = ~std::uint64_t{0};
    int shownIndex_ = -1;
};

}  // namespace pontrel
