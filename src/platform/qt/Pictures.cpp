#include "platform/qt/Pictures.h"

#include <functional>
#include <map>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace pontrel {

namespace {

const QColor ink(24, 52, 84);
const QColor steel(58, 110, 165);

QFont pictureFont(int pixelSize, bool bold, bool italic = false) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// A strip behind the title text: dark blue, lighter towards the middle.
void paintTitle(QPainter& p, QRectF area) {
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0.0, steel.lighter(130));
    shade.setColorAt(0.5, steel);
    shade.setColorAt(1.0, ink);
    QPainterPath strip;
    strip.addRoundedRect(area.adjusted(0.5, -6, -0.5, -2.5), 6, 6);
    p.fillPath(strip, shade);
    p.setPen(QPen(ink, 1));
    p.drawPath(strip);
}

// A round badge with a white "P".
void paintBadge(QPainter& p, QRectF area) {
    const qreal side = std::min(area.width(), area.height()) - 1;
    const QRectF circle(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    QRadialGradient shade(circle.center() - QPointF(side / 5, side / 5), side * 0.7);
    shade.setColorAt(0.0, QColor(255, 214, 102));
    shade.setColorAt(1.0, QColor(214, 120, 20));
    p.setBrush(shade);
    p.setPen(QPen(QColor(120, 60, 0), 1));
    p.drawEllipse(circle);
    p.setPen(Qt::white);
    p.setFont(pictureFont(static_cast<int>(side * 0.7), true));
    p.drawText(circle, Qt::AlignCenter, "P");
}

void paintArrow(QPainter& p, QRectF area, bool left) {
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0.0, QColor(250, 250, 250));
    shade.setColorAt(1.0, QColor(200, 206, 214));
    p.setBrush(shade);
    p.setPen(QPen(QColor(110, 118, 130), 1));
    p.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    const QPointF c = area.center();
    const qreal h = area.height() * 0.28;
    const qreal w = area.width() * 0.22;
    const qreal tip = left ? -w : w;
    const QPointF triangle[] = {
        {c.x() + tip, c.y()}, {c.x() - tip, c.y() - h}, {c.x() - tip, c.y() + h}};
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(triangle, 3);
}

// The logo: the program name in a banner tinted after the colour scheme. The top rows stay
// transparent because the bottom row of the settings panel lies over them, and the right end is
// left free for the buttons.
void paintSchemeLogo(QPainter& p, QRectF area, QColor tint) {
    const QRectF banner(area.left() + 8, area.top() + 12, std::min(area.width() - 40, 148.0),
                        std::min(area.height() - 22, 62.0));
    QLinearGradient shade(banner.topLeft(), banner.bottomLeft());
    shade.setColorAt(0.0, tint.lighter(125));
    shade.setColorAt(1.0, tint.darker(175));
    QPainterPath path;
    path.addRoundedRect(banner, 10, 10);
    p.fillPath(path, shade);
    p.setPen(QPen(tint.darker(260), 1.5));
    p.drawPath(path);

    p.setFont(pictureFont(static_cast<int>(banner.height() * 0.42), true, true));
    const QRectF name = banner.adjusted(0, 2, 0, -banner.height() * 0.28);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(name.translated(1.5, 1.5), Qt::AlignCenter, "Pontrel");
    p.setPen(Qt::white);
    p.drawText(name, Qt::AlignCenter, "Pontrel");

    p.setFont(pictureFont(static_cast<int>(banner.height() * 0.17), false));
    p.setPen(QColor(255, 255, 255, 220));
    p.drawText(banner.adjusted(0, banner.height() * 0.62, 0, -3), Qt::AlignCenter,
               "Makros für den Desktop");
}

// What shows where the hidden list was: a sunken, lightly striped panel.
void paintBox(QPainter& p, QRectF area) {
    p.fillRect(area, QColor(236, 240, 244));
    p.setPen(QPen(QColor(210, 216, 224), 1));
    p.setClipRect(area);
    for (qreal x = area.left() - area.height(); x < area.right(); x += 9) {
        p.drawLine(QPointF(x, area.bottom()), QPointF(x + area.height(), area.top()));
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawLine(area.topLeft() + QPointF(0.5, 0.5), area.topRight() + QPointF(-0.5, 0.5));
    p.drawLine(area.topLeft() + QPointF(0.5, 0.5), area.bottomLeft() + QPointF(0.5, -0.5));
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(area.bottomLeft() + QPointF(0.5, -0.5), area.bottomRight() + QPointF(-0.5, -0.5));
    p.drawLine(area.topRight() + QPointF(-0.5, 0.5), area.bottomRight() + QPointF(-0.5, -0.5));
}

// The program icon: a blue tile with a white "P" and a pointer arrow.
void paintIcon(QPainter& p, QRectF area) {
    const qreal s = std::min(area.width(), area.height());
    const QRectF tile(area.left(), area.top(), s, s);
    QLinearGradient shade(tile.topLeft(), tile.bottomRight());
    shade.setColorAt(0.0, steel.lighter(140));
    shade.setColorAt(1.0, ink);
    QPainterPath path;
    path.addRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), s * 0.18, s * 0.18);
    p.fillPath(path, shade);
    p.setPen(Qt::white);
    p.setFont(pictureFont(static_cast<int>(s * 0.72), true));
    p.drawText(tile.adjusted(-s * 0.12, -s * 0.04, 0, 0), Qt::AlignCenter, "P");
    const QPointF a(tile.left() + s * 0.62, tile.top() + s * 0.52);
    const QPointF arrow[] = {a,
                             {a.x(), a.y() + s * 0.40},
                             {a.x() + s * 0.10, a.y() + s * 0.30},
                             {a.x() + s * 0.17, a.y() + s * 0.44},
                             {a.x() + s * 0.23, a.y() + s * 0.41},
                             {a.x() + s * 0.16, a.y() + s * 0.27},
                             {a.x() + s * 0.30, a.y() + s * 0.27}};
    p.setBrush(QColor(255, 204, 64));
    p.setPen(QPen(QColor(60, 40, 0), std::max(1.0, s / 32)));
    p.drawPolygon(arrow, 7);
}

using Painter = std::function<void(QPainter&, QRectF)>;

const std::map<std::string, Painter>& painters() {
    static const std::map<std::string, Painter> table{
        {"title", paintTitle},
        {"small-logo", paintBadge},
        {"arrow-left", [](QPainter& p, QRectF a) { paintArrow(p, a, true); }},
        {"arrow-right", [](QPainter& p, QRectF a) { paintArrow(p, a, false); }},
        {"scheme-1", [](QPainter& p, QRectF a) { paintSchemeLogo(p, a, QColor(32, 224, 96)); }},
        {"scheme-2", [](QPainter& p, QRectF a) { paintSchemeLogo(p, a, QColor(32, 240, 224)); }},
        {"scheme-3", [](QPainter& p, QRectF a) { paintSchemeLogo(p, a, QColor(255, 112, 112)); }},
        {"box", paintBox},
        {"pontrel", paintIcon},
    };
    return table;
}

}  // namespace

QPixmap paintPicture(const std::string& name, QSize size) {
    const auto found = painters().find(name);
    if (found == painters().end() || size.isEmpty()) {
        return {};
    }
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    found->second(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(paintPicture("pontrel", QSize(side, side)));
    }
    return icon;
}

}  // namespace pontrel
