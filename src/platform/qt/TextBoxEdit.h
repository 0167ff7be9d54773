#pragma once

#include <QLineEdit>

#include "platform/controls/TextBox.h"
#include "platform/qt/ControlView.h"

namespace pontrel {

// The line edit of a text box. The maximum length limits only what the user types or pastes, as
// the classic edit control does: a longer text set by the program stays whole and can be
// shortened.
class TextBoxEdit : public QLineEdit {
public:
    TextBoxEdit(TextBox& box, ViewHost& host, QWidget* parent);

    void sync();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void edited(const QString& typed);

    TextBox& box_;
    ViewHost& host_;
};

}  // namespace pontrel
