#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Frame.h"
#include "platform/controls/HScrollBar.h"
#include "platform/controls/Image.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/OptionGroup.h"
#include "platform/controls/TextBox.h"
#include "platform/win/WideText.h"
#include "platform/win/WinCommandList.h"
#include "platform/win/WinControlView.h"
#include "platform/win/WinPictures.h"

namespace pontrel {

void WinControlView::create(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent,
                            HFONT font) {
    window_ = CreateWindowExW(exStyle, windowClass, L"", style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                              0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

namespace {

std::string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void setWindowText(HWND window, const std::string& text) {
    if (windowText(window) != text) {
        SetWindowTextW(window, widen(text).c_str());
    }
}

// The title labels lie on the title picture.
class LabelView : public WinControlView {
public:
    LabelView(Label& label, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : label_(label), host_(host) {
        onTitle_ = label.style() == LabelStyle::title || label.style() == LabelStyle::titleVersion;
        // A label of one line's height is cut at its end rather than wrapped out of sight.
        constexpr int oneLineTwips = 300;
        DWORD style =
            SS_NOPREFIX | (label.geometry().height <= oneLineTwips ? SS_LEFTNOWORDWRAP : SS_LEFT);
        HFONT font = fonts.normal;
        switch (label.style()) {
            case LabelStyle::title:
                style = SS_NOPREFIX | SS_CENTER | SS_CENTERIMAGE;
                font = fonts.title;
                break;
            case LabelStyle::titleVersion:
                style = SS_NOPREFIX | SS_RIGHT;
                font = fonts.small;
                break;
            case LabelStyle::flushRight:
                style = SS_NOPREFIX | SS_RIGHT;
                break;
            case LabelStyle::bold:
                font = fonts.bold;
                break;
            case LabelStyle::plain:
                break;
        }
        create(L"STATIC", style, 0, parent, font);
    }
    void sync() override { setWindowText(window(), label_.caption()); }
    HBRUSH colours(HDC dc) override {
        SetBkMode(dc, TRANSPARENT);
        if (onTitle_) {
            SetTextColor(dc, RGB(255, 255, 255));
            return host_.brush(static_cast<Colour>(titleColour));
        }
        return host_.brush(host_.backColour());
    }

private:
    Label& label_;
    WinViewHost& host_;
    bool onTitle_ = false;
};

class ButtonView : public WinControlView {
public:
    ButtonView(Button& button, HWND parent, const WinFonts& fonts) : button_(button) {
        create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, parent, fonts.normal);
    }
    void sync() override { setWindowText(window(), button_.caption()); }
    void command(WORD code) override {
        if (code == BN_CLICKED) {
            button_.click();
        }
    }

private:
    Button& button_;
};

// The box does not toggle itself: the control's value decides what shows.
class CheckBoxView : public WinControlView {
public:
    CheckBoxView(CheckBox& box, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : box_(box), host_(host) {
        create(L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0, parent, fonts.normal);
    }
    void sync() override {
        SendMessageW(window(), BM_SETCHECK, box_.value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void command(WORD code) override {
        if (code == BN_CLICKED) {
            box_.setValue(box_.value() != 0 ? 0 : 1);
            host_.markDirty(box_);
        }
    }
    HBRUSH colours(HDC dc) override {
        SetBkMode(dc, TRANSPARENT);
        return host_.brush(host_.backColour());
    }

private:
    CheckBox& box_;
    WinViewHost& host_;
};

// The group decides which member is on; the buttons only report clicks.
class OptionView : public WinControlView {
public:
    OptionView(OptionButton& option, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : option_(option), host_(host) {
        create(L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0, parent, fonts.normal);
    }
    void sync() override {
        setWindowText(window(), option_.caption());
        SendMessageW(window(), BM_SETCHECK, option_.value() ? BST_CHECKED : BST_UNCHECKED, 0);
        InvalidateRect(window(), nullptr, TRUE);  // the background colour may have changed
    }
    void command(WORD code) override {
        if (code == BN_CLICKED) {
            option_.click();
            host_.markDirty(option_);
        }
    }
    HBRUSH colours(HDC dc) override {
        SetBkColor(dc, toColorRef(option_.backColour()));
        return host_.brush(option_.backColour());
    }

private:
    OptionButton& option_;
    WinViewHost& host_;
};

class ComboView : public WinControlView {
public:
    ComboView(ComboBox& combo, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : combo_(combo), host_(host) {
        create(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, parent, fonts.normal);
    }
    int extraHeight() const override { return 200; }
    void sync() override {
        if (shown_ != combo_.items()) {
            shown_ = combo_.items();
            SendMessageW(window(), CB_RESETCONTENT, 0, 0);
            for (const std::string& item : shown_) {
                SendMessageW(window(), CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(widen(item).c_str()));
            }
        }
        SendMessageW(window(), CB_SETCURSEL, static_cast<WPARAM>(combo_.listIndex()), 0);
    }
    void command(WORD code) override {
        if (code == CBN_SELCHANGE) {
            combo_.setListIndex(static_cast<int>(SendMessageW(window(), CB_GETCURSEL, 0, 0)));
            host_.markDirty(combo_);
        }
    }

private:
    ComboBox& combo_;
    WinViewHost& host_;
    std::vector<std::string> shown_;
};

class ScrollView : public WinControlView {
public:
    ScrollView(HScrollBar& bar, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : bar_(bar), host_(host) {
        create(L"SCROLLBAR", SBS_HORZ, 0, parent, fonts.normal);
    }
    void sync() override {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
        info.nMin = std::min(bar_.min(), bar_.max());
        info.nMax = std::max(bar_.min(), bar_.max());
        info.nPage = 0;
        info.nPos = bar_.value();
        SetScrollInfo(window(), SB_CTL, &info, TRUE);
    }
    void scroll(WORD request) override {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(window(), SB_CTL, &info);
        int value = bar_.value();
        switch (request) {
            case SB_LINELEFT:
            case SB_PAGELEFT:
                value -= 1;
                break;
            case SB_LINERIGHT:
            case SB_PAGERIGHT:
                value += 1;
                break;
            case SB_LEFT:
                value = info.nMin;
                break;
            case SB_RIGHT:
                value = info.nMax;
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION:
                value = info.nTrackPos;
                break;
            default:
                return;
        }
        value = std::clamp(value, info.nMin, info.nMax);
        if (value != bar_.value()) {
            bar_.setValue(value);
            host_.markDirty(bar_);
        }
    }

private:
    HScrollBar& bar_;
    WinViewHost& host_;
};

// Paints its picture at its own size; a click inside it is the control's Click.
class ImageView : public WinControlView {
public:
    ImageView(Image& image, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : image_(image), host_(host) {
        create(L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0, parent, fonts.normal);
    }
    void sync() override { InvalidateRect(window(), nullptr, FALSE); }
    void command(WORD code) override {
        if (code == STN_CLICKED) {
            image_.click();
        }
    }
    void draw(const DRAWITEMSTRUCT& item) override {
        paintPicture(item.hDC, item.rcItem, image_.picture(), toColorRef(host_.backColour()));
    }

private:
    Image& image_;
    WinViewHost& host_;
};

class FrameView : public WinControlView {
public:
    FrameView(Frame& frame, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : frame_(frame), host_(host) {
        create(L"STATIC", SS_OWNERDRAW, 0, parent, fonts.normal);
    }
    void sync() override { InvalidateRect(window(), nullptr, FALSE); }
    void draw(const DRAWITEMSTRUCT& item) override {
        FillRect(item.hDC, &item.rcItem, host_.brush(frame_.backColour()));
        FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }

private:
    Frame& frame_;
    WinViewHost& host_;
};

// Typing goes into the control at once; the maximum length limits typing only, so a longer text
// set by the program may be shortened but not lengthened.
class TextView : public WinControlView {
public:
    TextView(TextBox& box, WinViewHost& host, HWND parent, const WinFonts& fonts)
        : box_(box), host_(host) {
        create(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, parent, fonts.normal);
    }
    void sync() override {
        setWindowText(window(), box_.text());
        const int limit =
            box_.maxLength() > 0 ? std::max(box_.maxLength(), GetWindowTextLengthW(window())) : 0;
        SendMessageW(window(), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    }
    void command(WORD code) override {
        if (code == EN_CHANGE) {
            box_.setText(windowText(window()));
            host_.markDirty(box_);
        } else if (code == EN_SETFOCUS) {
            box_.gotFocus();
        } else if (code == EN_KILLFOCUS) {
            box_.lostFocus();
        }
    }

private:
    TextBox& box_;
    WinViewHost& host_;
};

template <typename Kind>
Kind* as(Control& control) {
    return dynamic_cast<Kind*>(&control);
}

}  // namespace

std::unique_ptr<WinControlView> makeWinControlView(Control& control, WinViewHost& host, HWND parent,
                                                   const WinFonts& fonts) {
    if (auto* label = as<Label>(control)) {
        return std::make_unique<LabelView>(*label, host, parent, fonts);
    }
    if (auto* box = as<TextBox>(control)) {
        return std::make_unique<TextView>(*box, host, parent, fonts);
    }
    if (auto* button = as<Button>(control)) {
        return std::make_unique<ButtonView>(*button, parent, fonts);
    }
    if (auto* check = as<CheckBox>(control)) {
        return std::make_unique<CheckBoxView>(*check, host, parent, fonts);
    }
    if (auto* option = as<OptionButton>(control)) {
        return std::make_unique<OptionView>(*option, host, parent, fonts);
    }
    if (auto* combo = as<ComboBox>(control)) {
        return std::make_unique<ComboView>(*combo, host, parent, fonts);
    }
    if (auto* list = as<ListBox>(control)) {
        return std::make_unique<WinCommandList>(*list, host, parent, fonts.normal);
    }
    if (auto* bar = as<HScrollBar>(control)) {
        return std::make_unique<ScrollView>(*bar, host, parent, fonts);
    }
    if (auto* image = as<Image>(control)) {
        return std::make_unique<ImageView>(*image, host, parent, fonts);
    }
    if (auto* frame = as<Frame>(control)) {
        return std::make_unique<FrameView>(*frame, host, parent, fonts);
    }
    return nullptr;
}

}  // namespace pontrel
