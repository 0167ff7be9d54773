#include "platform/qt/QtEnvironment.h"

#include <unistd.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <utility>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLocale>
#include <QUrl>

namespace pontrel {

QtEnvironment::QtEnvironment(std::function<void()> beforeExit)
    : beforeExit_(std::move(beforeExit)) {}

std::string QtEnvironment::commandLine() {
    // Qt has already taken out the options it understood (-display, -platform, ...).
    const QStringList arguments = QCoreApplication::arguments();
    std::string line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!line.empty()) {
            line += ' ';
        }
        line += '"' + arguments[i].toStdString() + '"';
    }
    return line;
}

std::string QtEnvironment::currentDirectory() {
    return QDir::currentPath().toStdString();
}

std::string QtEnvironment::decimalSeparator() {
    return QLocale::system().decimalPoint().toStdString();
}

double QtEnvironment::randomUnit() {
    const auto now = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    ++draws_;
    std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                       static_cast<std::uint32_t>(draws_)};
    std::mt19937_64 generator(seed);
    const double value = std::uniform_real_distribution<double>(0.0, 1.0)(generator);
    // Some library versions can round up to exactly 1.
    return value < 1.0 ? value : std::nextafter(1.0, 0.0);
}

void QtEnvironment::exitProcess(int code) {
    // Called from deep inside handlers, possibly in a nested event loop: nothing may unwind
    // through Qt, so the process ends here.
    if (beforeExit_) {
        beforeExit_();
    }
    std::fflush(nullptr);
    _exit(code);
}

Status QtEnvironment::openUrl(const std::string& url) {
    if (QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url)))) {
        return Status::success();
    }
    return Status::failure("Adresse konnte nicht geöffnet werden");
}

}  // namespace pontrel
