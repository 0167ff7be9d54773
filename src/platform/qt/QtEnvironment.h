#pragma once

#include <functional>

#include "platform/ClockSeededRandom.h"
#include "platform/Environment.h"

namespace pontrel {

// The process through Qt: arguments, current directory, locale, desktop services, exit.
class QtEnvironment : public Environment {
public:
    // beforeExit runs first when the process ends (undoing what must not outlive it).
    explicit QtEnvironment(std::function<void()> beforeExit = {});

    std::string commandLine() override;
    std::string currentDirectory() override;
    std::string pathSeparator() override { return "/"; }
    std::string programFileName() override { return "Pontrel"; }
    std::string decimalSeparator() override;
    double randomUnit() override;
    [[noreturn]] void exitProcess(int code) override;
    Status openUrl(const std::string& url) override;
    void writeLog(const std::string& line) override;

private:
    std::function<void()> beforeExit_;
    ClockSeededRandom random_;
};

}  // namespace pontrel
