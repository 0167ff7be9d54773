#pragma once

#include <QCoreApplication>

namespace pontrel::test {

// The application object that Qt's event loops and D-Bus need, made once for the test program.
inline void ensureCoreApplication() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

}  // namespace pontrel::test
