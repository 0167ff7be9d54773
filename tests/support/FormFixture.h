#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/FakePlatform.h"
#include "window/MainForm.h"

namespace pontrel::test {

// A main window on the fake platform; start() runs the start-up as the program does.
struct FormFixture : ::testing::Test {
    FakePlatform fake;
    std::unique_ptr<MainForm> form = std::make_unique<MainForm>(fake.platform);

    void start() {
        form->lifecycle.Form_Load();
        fake.take();
    }
    MainForm& f() { return *form; }
};

}  // namespace pontrel::test
