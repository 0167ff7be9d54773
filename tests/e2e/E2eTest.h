#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/support/Desktop.h"
#include "e2e/support/PontrelApp.h"
#include "e2e/support/Wait.h"

namespace pontrel::e2e {

inline constexpr const char* pontrelProgram = PONTREL_E2E_PROGRAM;
inline constexpr const char* qtReceiverProgram = PONTREL_E2E_QT_RECEIVER;

// Record 0 with base wait W, played once, no start key, ESC stops.
inline std::string basicSettings(int baseWait) {
    return "code:|000|wait:|" + std::to_string(baseWait) + "|loop:|0|start:|no|stop:|ESC|";
}
inline std::string waitRecord(int ms) {
    return "code:|001|wait:|" + std::to_string(ms) + "|";
}
inline std::string moveRecord(Point to) {
    return "code:|002|xpos:|" + std::to_string(to.x) + "|ypos:|" + std::to_string(to.y) + "|";
}
inline std::string clickRecord(const std::string& button) {
    return "code:|003|mouseclick:|" + button + "|";
}
inline std::string textRecord(const std::string& text) {
    return "code:|004|text:|" + text + "|";
}
inline std::string pcRecord(const std::string& word) {
    return "code:|007|pc:|" + word + "|";
}

// Long enough for the test to give a receiver the focus after the program's window appeared.
inline constexpr int focusTimeMs = 3000;

// Every test has a desktop of its own.
class E2eTest : public ::testing::Test {
protected:
    explicit E2eTest(const std::string& layout = "de") : desktop(layout) {}

    // Starts the program with a macro named on its command line, as one argument.
    PontrelApp playMacro(const std::vector<std::string>& records) {
        writeMacro(desktop, "makro.qmc", records);
        return PontrelApp(desktop, pontrelProgram, {"makro.qmc"});
    }

    Desktop desktop;
};

inline std::string pointText(Point p) {
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

}  // namespace pontrel::e2e
