// A Qt text field that receives typed text. Every change appends "<monotonic ns> <characters>"
// to <file>.times at once; the whole text goes to <file> when typing pauses for a moment, so
// writing it never slows the field down.

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <text file>\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QFile times(path + ".times");
    if (!times.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return 1;
    }
    QPlainTextEdit field;
    field.setWindowTitle("Qt-Empfänger");
    field.resize(600, 200);
    QTimer pause;
    pause.setSingleShot(true);
    pause.setInterval(30);
    QObject::connect(&pause, &QTimer::timeout, [&] {
        QSaveFile file(path);
        file.setDirectWriteFallback(true);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(field.toPlainText().toUtf8());
            file.commit();
        }
    });
    QObject::connect(&field, &QPlainTextEdit::textChanged, [&] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        times.write(QByteArray::number(static_cast<qlonglong>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count())) +
                    ' ' + QByteArray::number(field.document()->characterCount() - 1) + '\n');
        pause.start();
    });
    field.show();
    return QApplication::exec();
}
