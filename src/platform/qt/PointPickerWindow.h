#pragma once

#include <optional>

#include <QEventLoop>
#include <QImage>
#include <QWidget>

#include "platform/Bitmap.h"
#include "platform/ScreenPoint.h"

namespace pontrel {

// A frozen picture of the whole screen, shown over the whole screen with a cross-hair, a
// magnified view around it and its coordinates. A left click picks the pixel under the pointer,
// Enter the pixel under the cross-hair (the arrow keys move it by one pixel), Escape cancels.
class PointPickerWindow final : public QWidget {
public:
    // The screen's picture, from its top left corner; it must outlive the window.
    explicit PointPickerWindow(const Bitmap& screen);

    // Shows the picture and waits; the pixel picked, or nothing when cancelled.
    std::optional<ScreenPoint> pick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The picture's pixel under a point of this window; the picture may be scaled to the window.
    ScreenPoint pixelAt(QPointF position) const;
    // The centre of a pixel in this window's coordinates.
    QPointF centreOf(ScreenPoint pixel) const;
    void moveCrossHair(int dx, int dy);
    void finish(std::optional<ScreenPoint> picked);
    void paintCrossHair(QPainter& painter, QPointF centre) const;
    void paintMagnifier(QPainter& painter, QPointF centre) const;

    QImage picture_;
    ScreenPoint crossHair_;
    bool pressed_ = false;
    std::optional<ScreenPoint> picked_;
    QEventLoop loop_;
};

}  // namespace pontrel
