#include "platform/qt/QtEnvironment.h"

#include <unistd.h>
#include <cstdio>
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
    return random_.next();
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

void QtEnvironment::writeLog(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace pontrel
