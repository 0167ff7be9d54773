#pragma once

#include <QListView>

#include "platform/controls/ListBox.h"
#include "platform/qt/CommandListModel.h"
#include "platform/qt/ControlView.h"

namespace pontrel {

// The command list: extended multiple selection over a list model. A user's click is applied to
// the list box's selection before MouseDown is raised; released navigation keys raise KeyUp with
// their virtual-key code; Ctrl+letter raises KeyPress with the control character and nothing
// else (no select-all, no copy); files dropped on it raise FilesDropped.
class CommandListView : public QListView, public ControlView {
public:
    CommandListView(ListBox& list, ViewHost& host, QWidget* parent);

    QWidget* widget() override { return this; }
    void sync() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The widget's selection and current row, handed to the list box when they differ from it.
    void applySelection();

    ListBox& list_;
    ViewHost& host_;
    CommandListModel model_;
    int shownIndex_ = -1;
};

}  // namespace pontrel
