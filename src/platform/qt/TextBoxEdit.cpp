#include "platform/qt/TextBoxEdit.h"

#include <QSignalBlocker>

namespace pontrel {

TextBoxEdit::TextBoxEdit(TextBox& box, ViewHost& host, QWidget* parent)
    : QLineEdit(parent), box_(box), host_(host) {
    connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) { edited(typed); });
}

void TextBoxEdit::sync() {
    const QString wanted = QString::fromStdString(box_.text());
    if (text() != wanted) {
        setText(wanted);
    }
}

void TextBoxEdit::edited(const QString& typed) {
    QString accepted = typed;
    const qsizetype limit = box_.maxLength();
    const qsizetype before = QString::fromStdString(box_.text()).size();
    const qsizetype room = std::max(limit, before);
    if (limit > 0 && accepted.size() > room) {
        // Cut what was just inserted (it ends at the cursor) down to what still fits.
        const qsizetype excess = accepted.size() - room;
        const qsizetype cursor = cursorPosition();
        const qsizetype cutFrom = std::max<qsizetype>(0, cursor - excess);
        accepted.remove(cutFrom, cursor - cutFrom);
        const QSignalBlocker quiet(this);
        setText(accepted);
        setCursorPosition(static_cast<int>(cutFrom));
    }
    box_.setText(accepted.toStdString());
    host_.markDirty(box_);
}

void TextBoxEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    box_.gotFocus();
}

void TextBoxEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    box_.lostFocus();
}

}  // namespace pontrel
