#include "platform/qt/PointPickerWindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/qt/QtPictureWriter.h"

namespace pontrel {

namespace {

constexpr int magnifiedRadius = 7;  // pixels each side of the one under the cross-hair
constexpr int magnification = 9;
constexpr int magnifierSpan = (2 * magnifiedRadius + 1) * magnification;
constexpr int magnifierOffset = 24;  // from the cross-hair, so that it never hides the target
constexpr int crossHairGap = 4;
constexpr int captionPadding = 4;

}  // namespace

PointPickerWindow::PointPickerWindow(const Bitmap& screen)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::NoDropShadowWindowHint),
      picture_(bitmapImage(screen)) {
    setWindowTitle(QStringLiteral("Punkt wählen"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // A visible pointer: XWayland may lock a hidden one during a grab, as games want.
    setCursor(Qt::CrossCursor);
    // The picture counts in the pixels the pointer service uses, from the desktop's corner.
    const QScreen* primary = QGuiApplication::primaryScreen();
    const qreal ratio = primary != nullptr ? primary->devicePixelRatio() : 1.0;
    setGeometry(0, 0, static_cast<int>(std::lround(picture_.width() / ratio)),
                static_cast<int>(std::lround(picture_.height() / ratio)));
    crossHair_ = pixelAt(QPointF(mapFromGlobal(QCursor::pos())));
}

std::optional<ScreenPoint> PointPickerWindow::pick() {
    if (picture_.isNull()) {
        return std::nullopt;
    }
    show();
    raise();
    activateWindow();
    // Bypassing the window manager, the window gets the keys only by taking them.
    grabKeyboard();
    loop_.exec();
    releaseKeyboard();
    hide();
    return picked_;
}

ScreenPoint PointPickerWindow::pixelAt(QPointF position) const {
    const auto along = [](qreal at, int windowSize, int pictureSize) {
        if (windowSize <= 0) {
            return 0;
        }
        const auto pixel = static_cast<int>(std::floor(at * pictureSize / windowSize));
        return std::clamp(pixel, 0, pictureSize - 1);
    };
    return {along(position.x(), width(), picture_.width()),
            along(position.y(), height(), picture_.height())};
}

QPointF PointPickerWindow::centreOf(ScreenPoint pixel) const {
    return {(pixel.x + 0.5) * width() / picture_.width(),
            (pixel.y + 0.5) * height() / picture_.height()};
}

void PointPickerWindow::moveCrossHair(int dx, int dy) {
    crossHair_ = {std::clamp(crossHair_.x + dx, 0, picture_.width() - 1),
                  std::clamp(crossHair_.y + dy, 0, picture_.height() - 1)};
    update();
}

void PointPickerWindow::finish(std::optional<ScreenPoint> picked) {
    picked_ = picked;
    loop_.quit();
}

void PointPickerWindow::mouseMoveEvent(QMouseEvent* event) {
    crossHair_ = pixelAt(event->position());
    update();
}

void PointPickerWindow::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void PointPickerWindow::mouseReleaseEvent(QMouseEvent* event) {
    // Picked on the release, so that no program below sees half a click.
    if (pressed_ && event->button() == Qt::LeftButton) {
        finish(pixelAt(event->position()));
    }
}

void PointPickerWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            finish(std::nullopt);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The Enter that opened the picture may still be held.
            if (!event->isAutoRepeat()) {
                finish(crossHair_);
            }
            break;
        case Qt::Key_Left:
            moveCrossHair(-1, 0);
            break;
        case Qt::Key_Right:
            moveCrossHair(1, 0);
            break;
        case Qt::Key_Up:
            moveCrossHair(0, -1);
            break;
        case Qt::Key_Down:
            moveCrossHair(0, 1);
            break;
        default:
            break;
    }
}

void PointPickerWindow::closeEvent(QCloseEvent* event) {
    finish(std::nullopt);
    QWidget::closeEvent(event);
}

void PointPickerWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QRectF(rect()), picture_);
    const QPointF centre = centreOf(crossHair_);
    paintCrossHair(painter, centre);
    paintMagnifier(painter, centre);
}

void PointPickerWindow::paintCrossHair(QPainter& painter, QPointF centre) const {
    painter.save();
    // Inverted, so that the lines show on any colour.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    const qreal x = std::floor(centre.x()) + 0.5;
    const qreal y = std::floor(centre.y()) + 0.5;
    painter.drawLine(QPointF(x, 0), QPointF(x, y - crossHairGap));
    painter.drawLine(QPointF(x, y + crossHairGap), QPointF(x, height()));
    painter.drawLine(QPointF(0, y), QPointF(x - crossHairGap, y));
    painter.drawLine(QPointF(x + crossHairGap, y), QPointF(width(), y));
    painter.restore();
}

void PointPickerWindow::paintMagnifier(QPainter& painter, QPointF centre) const {
    const QString text = QStringLiteral("X: %1   Y: %2\nKlick wählt, Esc bricht ab")
                             .arg(crossHair_.x)
                             .arg(crossHair_.y);
    const QRect textSize = painter.fontMetrics().boundingRect(QRect(), 0, text);
    const int boxWidth = std::max(magnifierSpan, textSize.width() + 2 * captionPadding);
    const int captionHeight = textSize.height() + 2 * captionPadding;
    const int boxHeight = magnifierSpan + captionHeight;
    // Below right of the cross-hair, or on the other side where the screen ends.
    int left = static_cast<int>(centre.x()) + magnifierOffset;
    int top = static_cast<int>(centre.y()) + magnifierOffset;
    if (left + boxWidth > width()) {
        left = static_cast<int>(centre.x()) - magnifierOffset - boxWidth;
    }
    if (top + boxHeight > height()) {
        top = static_cast<int>(centre.y()) - magnifierOffset - boxHeight;
    }
    const QRect box(left, top, boxWidth, boxHeight);
    painter.save();
    painter.fillRect(box, QColor(32, 32, 32));
    // Pixels beyond the picture's edge come out black.
    const QImage around =
        picture_.copy(crossHair_.x - magnifiedRadius, crossHair_.y - magnifiedRadius,
                      2 * magnifiedRadius + 1, 2 * magnifiedRadius + 1);
    const QRect zoomed(left + (boxWidth - magnifierSpan) / 2, top, magnifierSpan, magnifierSpan);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(zoomed, around);
    painter.setPen(QPen(QColor(128, 128, 128, 96), 1));
    for (int line = magnification; line < magnifierSpan; line += magnification) {
        painter.drawLine(zoomed.left() + line, zoomed.top(), zoomed.left() + line, zoomed.bottom());
        painter.drawLine(zoomed.left(), zoomed.top() + line, zoomed.right(), zoomed.top() + line);
    }
    const QRect target(zoomed.left() + magnifiedRadius * magnification,
                       zoomed.top() + magnifiedRadius * magnification, magnification,
                       magnification);
    painter.setPen(QPen(Qt::red, 1));
    painter.drawRect(target.adjusted(-1, -1, 0, 0));
    painter.setPen(Qt::white);
    painter.drawText(QRect(left, top + magnifierSpan, boxWidth, captionHeight), Qt::AlignCenter,
                     text);
    // A light and a dark frame: it stands out on any picture.
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(box.adjusted(-1, -1, 0, 0));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(box.adjusted(-2, -2, 1, 1));
    painter.restore();
}

}  // namespace pontrel
