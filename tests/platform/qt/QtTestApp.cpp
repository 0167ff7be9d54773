#include "platform/qt/QtTestApp.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>
#include <string>
#include <vector>

#include "support/display/XvfbServer.h"

namespace pontrel::test {

namespace {

// Built on first use; torn down by the test framework before the program ends, the application
// before its display.
class QtTestEnvironment : public ::testing::Environment {
public:
    QApplication& app() {
        if (!app_) {
            server_ = std::make_unique<XvfbServer>(1280, 1024);
            for (std::string& argument : arguments_) {
                argv_.push_back(argument.data());
            }
            argv_.push_back(nullptr);
            argc_ = static_cast<int>(arguments_.size());
            app_ = std::make_unique<QApplication>(argc_, argv_.data());
        }
        return *app_;
    }
    void TearDown() override {
        app_.reset();
        server_.reset();
    }

private:
    std::unique_ptr<XvfbServer> server_;
    std::vector<std::string> arguments_{"pontrel_qt_tests", "-platform", "xcb", programArguments[0],
                                        programArguments[1]};
    std::vector<char*> argv_;
    int argc_ = 0;
    std::unique_ptr<QApplication> app_;
};

QtTestEnvironment* const environment = [] {
    auto* created = new QtTestEnvironment;
    ::testing::AddGlobalTestEnvironment(created);
    return created;
}();

}  // namespace

QApplication& qtTestApp() {
    return environment->app();
}

bool processEventsUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

}  // namespace pontrel::test
