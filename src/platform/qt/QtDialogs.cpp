#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/qt/PointPickerWindow.h"
#include "platform/qt/QtFileFilter.h"

namespace pontrel {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

bool chosen(const QString& path, CommonDialog& dialog) {
    if (path.isEmpty()) {
        return false;  // cancelled: the file name stays as it was
    }
    dialog.fileName = path.toStdString();
    return true;
}

}  // namespace

MessageAnswer QtDialogs::messageBox(const std::string& text, const std::string& title,
                                    MessageButtons buttons, MessageIcon icon) {
    const QString caption =
        title.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(title);
    const bool yesNo = buttons == MessageButtons::YesNo;
    QMessageBox box(qtIcon(icon), caption, QString::fromStdString(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, window_);
    if (yesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    const int answer = box.exec();
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

bool QtDialogs::showOpen(CommonDialog& dialog) {
    const QString path =
        QFileDialog::getOpenFileName(window_, QString(), QString::fromStdString(dialog.fileName),
                                     QString::fromStdString(qtFileFilter(dialog.filter)));
    return chosen(path, dialog);
}

bool QtDialogs::showSave(CommonDialog& dialog) {
    // Saving over a file asks nothing, as everywhere else in the program.
    const QString path =
        QFileDialog::getSaveFileName(window_, QString(), QString::fromStdString(dialog.fileName),
                                     QString::fromStdString(qtFileFilter(dialog.filter)), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    return chosen(path, dialog);
}

std::optional<ScreenPoint> QtDialogs::pickPoint(const Bitmap& screen) {
    PointPickerWindow picker(screen);
    return picker.pick();
}

}  // namespace pontrel
