#include "platform/qt/CursorBlinkTimeout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace pontrel {

namespace {

void setFlashTime(int ms) {
    QGuiApplication::styleHints()->setCursorFlashTime(ms);
}

}  // namespace

CursorBlinkTimeout::CursorBlinkTimeout(std::chrono::milliseconds timeout)
    : desktopFlashTime_(QGuiApplication::styleHints()->cursorFlashTime()) {
    timeout_.setSingleShot(true);
    timeout_.setInterval(timeout);
    connect(&timeout_, &QTimer::timeout, this, [] { setFlashTime(0); });
    timeout_.start();
    QCoreApplication::instance()->installEventFilter(this);
}

CursorBlinkTimeout::~CursorBlinkTimeout() {
    QCoreApplication::instance()->removeEventFilter(this);
    setFlashTime(desktopFlashTime_);
}

bool CursorBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress) {
        if (!timeout_.isActive()) {
            setFlashTime(desktopFlashTime_);
        }
        timeout_.start();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pontrel
