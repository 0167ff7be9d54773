// A Qt text field that receives typed text. Every change rewrites <file> with the whole text and
// appends "<monotonic ns> <characters>" to <file>.times, so a test can read both from outside.

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>

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
    QObject::connect(&field, &QPlainTextEdit::textChanged, [&] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        const QString text = field.toPlainText();
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(text.toUtf8());
            file.commit();
        }
        times.write(QByteArray::number(static_cast<qlonglong>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count())) +
                    ' ' + QByteArray::number(text.size()) + '\n');
    });
    field.show();
    return QApplication::exec();
}
