#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/FormFixture.h"

namespace pontrel::test {

// Virtual-key codes of the default hot keys.
inline constexpr int startKey = 0x7C;
inline constexpr int stopKey = 0x1B;

// A started main window that plays macros on the fake platform.
struct EngineFixture : FormFixture {
    void SetUp() override {
        fake.screen.size = {320, 240};  // small enough to capture quickly, wide enough to watch
        start();
    }

    static std::string basicSettings(const std::string& wait, const std::string& loop) {
        return "code:|000|wait:|" + wait + "|loop:|" + loop + "|start:|no|stop:|ESC|";
    }

    // Record 0 and the commands behind it become the macro.
    void macro(const std::vector<std::string>& records) {
        for (std::size_t slot = 0; slot < records.size(); ++slot) {
            f().befehl_zeilen[slot] = records[slot];
        }
        f().befehl_anzahl = static_cast<int>(records.size()) - 1;
    }

    // Performs one record as a single step of the interpreter, in slot 1.
    Transcript step(const std::string& record) {
        f().befehl_zeilen[1] = record;
        f().befehl_nr = 1;
        f().interpreter.Timer_start_Timer();
        return fake.take();
    }

    bool running() { return f().run.running(); }

    // Advances a millisecond at a time until the transcript holds `line`; the time it appeared,
    // or -1 when it did not within limitMs.
    std::int64_t whenLogged(const std::string& line, std::int64_t limitMs) {
        for (std::int64_t waited = 0; waited <= limitMs; ++waited) {
            if (std::find(fake.log.begin(), fake.log.end(), line) != fake.log.end()) {
                return fake.clock.now();
            }
            fake.clock.advance(1);
        }
        return -1;
    }

    // Advances until the run has ended (at most limitMs) and takes the transcript.
    Transcript runToEnd(std::int64_t limitMs = 600000) {
        for (std::int64_t waited = 0; running() && waited < limitMs; waited += 10) {
            fake.clock.advance(10);
        }
        EXPECT_FALSE(running());
        return fake.take();
    }
};

}  // namespace pontrel::test
