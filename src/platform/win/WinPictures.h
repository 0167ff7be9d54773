#pragma once

#include <string>

#include <windows.h>

namespace pontrel {

// The program's own pictures, painted with GDI into a rectangle at the size they are shown:
// "title", "small-logo", "arrow-left", "arrow-right", "scheme-1" to "scheme-3", "box" and the
// icon "pontrel". Whatever a picture leaves free shows background. An unknown name paints only
// the background.
void paintPicture(HDC dc, const RECT& area, const std::string& name, COLORREF background);

// The window icon "pontrel" at a size in pixels; the caller destroys it.
HICON createProgramIcon(int side);

// The colour of the title strip, for the labels that lie on it.
inline constexpr COLORREF titleColour = RGB(58, 110, 165);

}  // namespace pontrel
