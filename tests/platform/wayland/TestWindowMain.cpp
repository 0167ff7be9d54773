// A window of one colour that writes every button press ("press <button> <x> <y>", window
// pixels) to the file named on the command line and turns to the second colour on the first, or
// once a file named like that one plus ".turn" exists (for desktops where no test clicks). On
// desktops that do not tile it, it can fill the screen, or the monitor named after
// "--full-screen=".

#include <cstdio>

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

class TestWindow : public QWidget {
public:
    TestWindow(QFile& log, QColor first, QColor second)
        : log_(log), colour_(first), second_(second) {}

    void turn() {
        colour_ = second_;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        log_.write(QByteArray("press ") + QByteArray::number(static_cast<int>(event->button())) +
                   ' ' + QByteArray::number(at.x()) + ' ' + QByteArray::number(at.y()) + '\n');
        turn();
    }

private:
    QFile& log_;
    QColor colour_;
    QColor second_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString fullScreenOption = QStringLiteral("--full-screen");
    const QString option = argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString();
    const bool fullScreen =
        option == fullScreenOption || option.startsWith(fullScreenOption + QLatin1Char('='));
    if (argc != 4 && !fullScreen) {
        std::fprintf(stderr,
                     "usage: %s <log file> <colour> <colour after a click> "
                     "[--full-screen[=<monitor>]]\n",
                     argv[0]);
        return 2;
    }
    QFile log(QString::fromLocal8Bit(argv[1]));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return 1;
    }
    TestWindow window(log, QColor(QString::fromLatin1(argv[2])),
                      QColor(QString::fromLatin1(argv[3])));
    window.setWindowTitle("Testfenster");
    const QString monitor = option.mid(fullScreenOption.size() + 1);
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == monitor) {
            window.setScreen(screen);
            window.move(screen->geometry().topLeft());
        }
    }
    if (fullScreen) {
        window.showFullScreen();
    } else {
        window.show();
    }
    QTimer turnFile;
    const QString turnPath = log.fileName() + QStringLiteral(".turn");
    QObject::connect(&turnFile, &QTimer::timeout, [&] {
        if (QFileInfo::exists(turnPath)) {
            turnFile.stop();
            window.turn();
        }
    });
    turnFile.start(5);
    return QApplication::exec();
}
