// A window of one colour for timing a pixel watch: SIGUSR1 switches it to the other colour, and
// it appends "paint <monotonic ns>" to the file named on the command line when it paints the new
// colour, and "press <monotonic ns>" for every button press.

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QPainter>
#include <QSocketNotifier>
#include <QWidget>

namespace {

QByteArray now() {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return QByteArray::number(static_cast<qlonglong>(ns.count()));
}

class WatchedWindow : public QWidget {
public:
    explicit WatchedWindow(QFile& log) : log_(log) {}

    void switchColour() {
        first_ = !first_;
        switched_ = true;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(),
                                first_ ? QColor(0x20, 0x40, 0x80) : QColor(0xE0, 0xC0, 0x60));
        if (switched_) {
            switched_ = false;
            log_.write("paint " + now() + '\n');
        }
    }
    void mousePressEvent(QMouseEvent*) override { log_.write("press " + now() + '\n'); }

private:
    QFile& log_;
    bool first_ = true;
    bool switched_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    // Blocked before any thread starts, so that it arrives through the descriptor alone.
    sigset_t usr1;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, nullptr);
    const int signalSource = signalfd(-1, &usr1, SFD_CLOEXEC);

    QApplication application(argc, argv);
    if (argc != 2 || signalSource < 0) {
        std::fprintf(stderr, "usage: %s <log file>\n", argv[0]);
        return 2;
    }
    QFile log(QString::fromLocal8Bit(argv[1]));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return 1;
    }
    WatchedWindow window(log);
    QSocketNotifier notifier(signalSource, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        signalfd_siginfo info{};
        if (read(signalSource, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            window.switchColour();
        }
    });
    window.setWindowTitle("Beobachtet");
    window.show();
    return QApplication::exec();
}
