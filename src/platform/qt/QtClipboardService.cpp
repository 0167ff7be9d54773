#include "platform/qt/QtClipboardService.h"

#include <QClipboard>
#include <QGuiApplication>

namespace pontrel {

Status QtClipboardService::clear() {
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    return Status::success();
}

Status QtClipboardService::setText(const std::string& text) {
    input_.drainQueuedInput();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QString::fromStdString(text), QClipboard::Clipboard);
    // On X11 the selection may be refused; then the clipboard did not change.
    if (!clipboard->ownsClipboard()) {
        return Status::failure("Zwischenablage nicht übernommen");
    }
    return Status::success();
}

}  // namespace pontrel
