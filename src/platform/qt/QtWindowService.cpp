#include "platform/qt/QtWindowService.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>
#include <QWindow>

#include "platform/qt/Twips.h"

namespace pontrel {

namespace {

Status noWindow() {
    return Status::failure("kein Fenster");
}

// Qt writes window requests (opacity, state hints) to the X server only in an event loop pass
// that handles X input, and its default loop makes one only when the server sent something: on
// an idle window, say while it fades out with the pointer elsewhere, they would wait for the next
// stray event. Waking the loop makes its next pass send them.
void sendWindowRequests() {
    if (QAbstractEventDispatcher* dispatcher = QCoreApplication::eventDispatcher()) {
        dispatcher->wakeUp();
    }
}

}  // namespace

Status QtWindowService::setOpacity(int alpha) {
    if (window_ == nullptr) {
        return noWindow();
    }
    window_->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
    sendWindowRequests();
    return Status::success();
}

Status QtWindowService::setTopmost(bool topmost) {
    if (window_ == nullptr) {
        return noWindow();
    }
    const Qt::WindowFlags flags = window_->windowFlags();
    const Qt::WindowFlags wanted = topmost ? flags | Qt::WindowStaysOnTopHint
                                           : flags & ~Qt::WindowFlags(Qt::WindowStaysOnTopHint);
    if (flags == wanted) {
        return Status::success();
    }
    // QWidget::setWindowFlags would hide and re-create the window (it may then move); the
    // platform window takes the hint in place, and the widget is told without touching it.
    window_->overrideWindowFlags(wanted);
    if (QWindow* handle = window_->windowHandle()) {
        handle->setFlag(Qt::WindowStaysOnTopHint, topmost);
    }
    if (topmost) {
        window_->raise();  // without a window manager nobody acts on the hint
    }
    sendWindowRequests();
    return Status::success();
}

Rect QtWindowService::frameRect() {
    if (window_ == nullptr) {
        return {};
    }
    const QRect frame = window_->frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

bool QtWindowService::isActive() {
    return window_ != nullptr && window_->isActiveWindow();
}

int QtWindowService::twipsPerPixelX() {
    return twipsPerPixel(Qt::Horizontal);
}

int QtWindowService::twipsPerPixelY() {
    return twipsPerPixel(Qt::Vertical);
}

void QtWindowService::popupMenu(Menu& menu) {
    QMenu popup(window_);
    popup.setToolTipsVisible(true);
    std::vector<std::pair<QAction*, MenuItem*>> entries;
    for (MenuItem* item : menu.items()) {
        if (!item->visible()) {
            continue;
        }
        if (item->isSeparator()) {
            popup.addSeparator();
            continue;
        }
        QString text = QString::fromStdString(item->caption());
        // After a tab the menu shows the text as the entry's shortcut, without making it one.
        if (!item->shortcut().empty()) {
            text += '\t' + QString::fromStdString(item->shortcut());
        }
        QAction* action = popup.addAction(text);
        action->setEnabled(item->enabled());
        action->setToolTip(QString::fromStdString(item->toolTip()));
        entries.emplace_back(action, item);
    }
    QAction* picked = popup.exec(QCursor::pos());
    for (const auto& [action, item] : entries) {
        if (action == picked) {
            item->click();
            return;
        }
    }
}

}  // namespace pontrel
