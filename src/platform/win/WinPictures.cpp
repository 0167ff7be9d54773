#include "platform/win/WinPictures.h"

#include <algorithm>
#include <functional>
#include <map>

namespace pontrel {

namespace {

constexpr COLORREF ink = RGB(24, 52, 84);

// Selects a GDI object into a DC for one scope and deletes it afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object)
        : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(dc_, previous_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

HFONT pictureFont(int pixelHeight, bool bold, bool italic = false) {
    return CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

void fill(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void text(HDC dc, RECT area, const wchar_t* words, COLORREF colour, HFONT font) {
    const Selected selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, words, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

COLORREF shade(COLORREF colour, int percent) {
    const auto part = [percent](int value) { return std::clamp(value * percent / 100, 0, 255); };
    return RGB(part(GetRValue(colour)), part(GetGValue(colour)), part(GetBValue(colour)));
}

void paintTitle(HDC dc, const RECT& area) {
    fill(dc, area, titleColour);
    RECT edge = area;
    edge.top = edge.bottom - 2;
    fill(dc, edge, ink);
}

// A round orange badge with a white "P".
void paintBadge(HDC dc, const RECT& area) {
    const int side = std::min(area.right - area.left, area.bottom - area.top) - 1;
    const RECT circle{area.left, area.top, area.left + side, area.top + side};
    {
        const Selected brush(dc, CreateSolidBrush(RGB(236, 160, 40)));
        const Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(120, 60, 0)));
        Ellipse(dc, circle.left, circle.top, circle.right, circle.bottom);
    }
    text(dc, circle, L"P", RGB(255, 255, 255), pictureFont(side * 7 / 10, true));
}

void paintArrow(HDC dc, const RECT& area, bool left) {
    {
        const Selected brush(dc, CreateSolidBrush(RGB(232, 234, 238)));
        const Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(110, 118, 130)));
        RoundRect(dc, area.left, area.top, area.right, area.bottom, 5, 5);
    }
    const int cx = (area.left + area.right) / 2;
    const int cy = (area.top + area.bottom) / 2;
    const int h = (area.bottom - area.top) * 28 / 100;
    const int w = (area.right - area.left) * 22 / 100;
    const int tip = left ? -w : w;
    const POINT triangle[] = {{cx + tip, cy}, {cx - tip, cy - h}, {cx - tip, cy + h}};
    const Selected brush(dc, CreateSolidBrush(ink));
    const Selected pen(dc, CreatePen(PS_SOLID, 1, ink));
    Polygon(dc, triangle, 3);
}

// The program name in a banner tinted after the colour scheme. The top rows stay free because
// the bottom row of the settings panel lies over them, and the right end for the buttons.
void paintSchemeLogo(HDC dc, const RECT& area, COLORREF tint) {
    const int width = std::min<int>(area.right - area.left - 40, 148);
    const int height = std::min<int>(area.bottom - area.top - 22, 62);
    if (width <= 0 || height <= 0) {
        return;
    }
    const RECT banner{area.left + 8, area.top + 12, area.left + 8 + width, area.top + 12 + height};
    {
        const Selected brush(dc, CreateSolidBrush(shade(tint, 80)));
        const Selected pen(dc, CreatePen(PS_SOLID, 2, shade(tint, 40)));
        RoundRect(dc, banner.left, banner.top, banner.right, banner.bottom, 18, 18);
    }
    RECT name = banner;
    name.bottom -= height * 28 / 100;
    RECT shadow = name;
    OffsetRect(&shadow, 1, 1);
    text(dc, shadow, L"Pontrel", shade(tint, 35), pictureFont(height * 42 / 100, true, true));
    text(dc, name, L"Pontrel", RGB(255, 255, 255), pictureFont(height * 42 / 100, true, true));
    RECT motto = banner;
    motto.top += height * 62 / 100;
    motto.bottom -= 3;
    text(dc, motto, L"Makros f\u00fcr den Desktop", RGB(255, 255, 255),
         pictureFont(std::max(8, height * 17 / 100), false));
}

// What shows where the hidden list was: a sunken, lightly striped panel.
void paintBox(HDC dc, const RECT& area) {
    fill(dc, area, RGB(236, 240, 244));
    {
        const Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(210, 216, 224)));
        const int height = area.bottom - area.top;
        const HRGN clip = CreateRectRgnIndirect(&area);
        SelectClipRgn(dc, clip);
        for (int x = area.left - height; x < area.right; x += 9) {
            MoveToEx(dc, x, area.bottom, nullptr);
            LineTo(dc, x + height, area.top);
        }
        SelectClipRgn(dc, nullptr);
        DeleteObject(clip);
    }
    RECT edge = area;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

// A blue tile with a white "P".
void paintIcon(HDC dc, const RECT& area) {
    const int side = std::min(area.right - area.left, area.bottom - area.top);
    const RECT tile{area.left, area.top, area.left + side, area.top + side};
    {
        const Selected brush(dc, CreateSolidBrush(titleColour));
        const Selected pen(dc, CreatePen(PS_SOLID, 1, ink));
        RoundRect(dc, tile.left, tile.top, tile.right, tile.bottom, side / 3, side / 3);
    }
    text(dc, tile, L"P", RGB(255, 255, 255), pictureFont(side * 72 / 100, true));
}

using Painter = std::function<void(HDC, const RECT&)>;

const std::map<std::string, Painter>& painters() {
    static const std::map<std::string, Painter> table{
        {"title", paintTitle},
        {"small-logo", paintBadge},
        {"arrow-left", [](HDC dc, const RECT& a) { paintArrow(dc, a, true); }},
        {"arrow-right", [](HDC dc, const RECT& a) { paintArrow(dc, a, false); }},
        {"scheme-1", [](HDC dc, const RECT& a) { paintSchemeLogo(dc, a, RGB(32, 224, 96)); }},
        {"scheme-2", [](HDC dc, const RECT& a) { paintSchemeLogo(dc, a, RGB(32, 240, 224)); }},
        {"scheme-3", [](HDC dc, const RECT& a) { paintSchemeLogo(dc, a, RGB(255, 112, 112)); }},
        {"box", paintBox},
        {"pontrel", paintIcon},
    };
    return table;
}

}  // namespace

void paintPicture(HDC dc, const RECT& area, const std::string& name, COLORREF background) {
    fill(dc, area, background);
    const auto found = painters().find(name);
    if (found != painters().end() && area.right > area.left && area.bottom > area.top) {
        found->second(dc, area);
    }
}

HICON createProgramIcon(int side) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, side, side);
    HBITMAP mask = CreateBitmap(side, side, 1, 1, nullptr);
    const RECT area{0, 0, side, side};
    HGDIOBJ previous = SelectObject(dc, mask);
    fill(dc, area, RGB(0, 0, 0));  // every pixel opaque
    SelectObject(dc, colour);
    paintPicture(dc, area, "pontrel", GetSysColor(COLOR_BTNFACE));
    SelectObject(dc, previous);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return icon;
}

}  // namespace pontrel
