#include "platform/qt/CommandListView.h"

#include <QDropEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace pontrel {

namespace {

// Virtual-key codes of the keys whose release the list reports.
int virtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

bool hasFiles(const QMimeData* data) {
    return data != nullptr && data->hasUrls();
}

}  // namespace

CommandListView::CommandListView(ListBox& list, ViewHost& host, QWidget* parent)
    : QListView(parent), list_(list), host_(host), model_(list) {
    setModel(&model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
}

void CommandListView::sync() {
    const bool rebuilt = model_.refresh();
    QItemSelection selection;
    const int rows = model_.rowCount();
    for (const auto& [first, last] : list_.selectedRuns(rows)) {
        selection.select(model_.index(first), model_.index(last));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current =
        list_.listIndex() < rows ? model_.index(list_.listIndex()) : QModelIndex();
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if (current.isValid() && (rebuilt || list_.listIndex() != shownIndex_)) {
        scrollTo(current);
    }
    shownIndex_ = list_.listIndex();
}

void CommandListView::applySelection() {
    const int rows = model_.rowCount();
    if (rows != list_.listCount()) {
        return;  // the rows changed under the user's action; the next flush shows them
    }
    std::vector<bool> selected(static_cast<std::size_t>(rows), false);
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            selected[static_cast<std::size_t>(row)] = true;
        }
    }
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    if (selected != list_.selection() || current != list_.listIndex()) {
        list_.applyUserSelection(selected, current);
        host_.markDirty(list_);
    }
}

void CommandListView::mousePressEvent(QMouseEvent* event) {
    host_.flushPending();
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        QListView::mousePressEvent(event);
        // A plain click selects its row at once, also a row that was already selected (Qt would
        // wait for the release there); a click below the last row takes the last row.
        QModelIndex row = indexAt(event->position().toPoint());
        if (!row.isValid() && model_.rowCount() > 0 &&
            event->position().y() > visualRect(model_.index(model_.rowCount() - 1)).bottom()) {
            row = model_.index(model_.rowCount() - 1);
        }
        if (row.isValid() && event->modifiers() == Qt::NoModifier) {
            selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
        }
        applySelection();
        list_.MouseDown(MouseButton::Left);
    } else if (event->button() == Qt::RightButton) {
        // The right button leaves the selection alone, as the context menu works on it.
        list_.MouseDown(MouseButton::Right);
    } else if (event->button() == Qt::MiddleButton) {
        list_.MouseDown(MouseButton::Middle);
    }
}

void CommandListView::mouseMoveEvent(QMouseEvent* event) {
    QListView::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton) {
        applySelection();
    }
}

void CommandListView::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        applySelection();
    }
}

void CommandListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        list_.DblClick();
    }
}

void CommandListView::keyPressEvent(QKeyEvent* event) {
    host_.flushPending();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool control = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) &&
                         !(modifiers & Qt::MetaModifier);
    if (control && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        // The character Ctrl+letter types; the list's own meaning of these keys is swallowed.
        list_.KeyPress(event->key() - Qt::Key_A + 1);
        event->accept();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() < 128 && !control) {
        list_.KeyPress(text[0].unicode());
    }
    QListView::keyPressEvent(event);
    applySelection();
}

void CommandListView::keyReleaseEvent(QKeyEvent* event) {
    QListView::keyReleaseEvent(event);
    const int virtualKey = virtualKeyOf(event->key());
    if (virtualKey != 0 && !event->isAutoRepeat()) {
        list_.KeyUp(virtualKey);
    }
}

void CommandListView::dragEnterEvent(QDragEnterEvent* event) {
    if (hasFiles(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void CommandListView::dragMoveEvent(QDragMoveEvent* event) {
    if (hasFiles(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void CommandListView::dropEvent(QDropEvent* event) {
    if (!hasFiles(event->mimeData())) {
        return;
    }
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile().toStdString());
        }
    }
    event->acceptProposedAction();
    if (!paths.empty()) {
        list_.FilesDropped(paths);
    }
}

}  // namespace pontrel
