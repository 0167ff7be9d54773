#include "e2e/support/QtReceiver.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pontrel::e2e {

QtReceiver::QtReceiver(const Desktop& desktop, const std::string& program)
    : file_((desktop.folder() / "qt-empfaenger.txt").string()),
      process_(desktop.start({program, file_}, "qt-empfaenger")) {
    window_ = desktop.windowOf(process_->pid());
    if (window_ == 0) {
        std::ifstream log(desktop.logFile("qt-empfaenger"));
        std::ostringstream said;
        said << log.rdbuf();
        throw std::runtime_error("the Qt receiver showed no window; it wrote:\n" + said.str());
    }
}

std::string QtReceiver::text() const {
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<QtReceiver::Change> QtReceiver::changes() const {
    std::ifstream in(file_ + ".times");
    std::vector<Change> all;
    long long nanoseconds = 0;
    int characters = 0;
    while (in >> nanoseconds >> characters) {
        all.push_back({TimePoint(std::chrono::nanoseconds(nanoseconds)), characters});
    }
    return all;
}

}  // namespace pontrel::e2e
