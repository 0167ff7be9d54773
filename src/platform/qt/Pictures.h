#pragma once

#include <string>

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace pontrel {

// The program's own pictures, painted at the size they are shown: "title", "small-logo",
// "arrow-left", "arrow-right", "scheme-1" to "scheme-3", "box" and the icon "pontrel". An unknown
// name gives a null pixmap.
QPixmap paintPicture(const std::string& name, QSize size);

// The window icon "pontrel" in the usual icon sizes.
QIcon programIcon();

}  // namespace pontrel
