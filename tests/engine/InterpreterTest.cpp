#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"

namespace pontrel {
namespace {

using test::EngineFixture;
using test::Transcript;

using RandomWaitTest = EngineFixture;

TEST_F(RandomWaitTest, TheExtraWaitIsDrawnBetweenTheClampedBounds) {
    struct Case {
        std::string record;
        double random;
        int extra;
    };
    const std::vector<Case> cases{
        {"code:|001|wait:|100|maxwait:|100|", 0.7, 100},
        {"code:|001|wait:|200|maxwait:|800|", 0.25, 350},
        {"code:|001|wait:|500|maxwait:|200|", 0.9, 500},
        {"code:|001|wait:|-5|maxwait:|70000|", 0.5, 30000},
        {"code:|001|wait:|-5|maxwait:|70000|", 0.99999, 59999},
        {"code:|001|wait:|40000|maxwait:|40000|", 0.3, 40000},
        {"code:|001|wait:|70000|", 0.3, 60000},
    };
    f().grund_wartezeit = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        fake.environment.randomValues = {c.random};
        step(c.record);
        EXPECT_EQ(f().Timer_start.interval(), 100 + c.extra);
    }
    EXPECT_EQ(f().befehl_wert1[1], "60000");
}

TEST_F(RandomWaitTest, ClampedBoundsAreWrittenBack) {
    step("code:|001|wait:|-5|maxwait:|70000|");
    EXPECT_EQ(f().befehl_wert1[1], "0");
    EXPECT_EQ(f().befehl_wert2[1], "60000");
}

TEST_F(RandomWaitTest, ASecondValueLeftInTheSlotByAnotherRecordIsNotAnUpperBound) {
    macro({basicSettings("100", "0"), "code:|002|xpos:|100|ypos:|700|",
           "code:|002|xpos:|9|ypos:|9|"});
    f().befehl_nr = 1;
    f().records.befehl_aktuellencode();
    f().befehl_zeilen[1] = "code:|001|wait:|300|";
    fake.environment.randomValues = {0.9};
    f().cmd_start.click();
    // Entry 1 runs at 110, entry 2 one base wait plus 300 ms after it.
    EXPECT_EQ(whenLogged("move 9,9", 5000), 510);
}

using StepTest = EngineFixture;

TEST_F(StepTest, CodesOtherThanOneToTenPerformNothingButTheStepStillEnds) {
    for (const std::string record :
         {"code:|-2|xpos:|1|ypos:|1|", "code:|2.5|xpos:|1|ypos:|1|", "code:|000|wait:|1|",
          "code:|abc|xpos:|1|ypos:|1|", "code:|011|xpos:|1|ypos:|1|"}) {
        SCOPED_TRACE(record);
        f().lbl_hscaktuell.setCaption("");
        f().Timer_start.setEnabled(true);
        EXPECT_EQ(step(record), Transcript{});
        EXPECT_EQ(f().lbl_hscaktuell.caption(), "1");
        EXPECT_FALSE(f().Timer_start.enabled());
    }
    EXPECT_EQ(f().befehl_zeilen[1], "code:|001|wait:|0|");
}

TEST_F(StepTest, ACommandTriedOnItsOwnKeepsItsRecord) {
    // Filling the panel must not write it back half-filled: "end " would become "lockpc".
    for (const std::string record :
         {"code:|002|xpos:|10.5|ypos:|11.5|", "code:|007|pc:|end |", "code:|005|start:|7|step:|3|",
          "code:|001|wait:|200|maxwait:|800|"}) {
        SCOPED_TRACE(record);
        step(record);
        EXPECT_EQ(f().befehl_zeilen[1], record);
    }
}

TEST_F(StepTest, AnActionThatThrowsStillEndsTheStepAndTheRunGoesOn) {
    fake.files.unwritable.insert("/bilder/a.jpg");
    EXPECT_THROW(f().screen.Save_JPG({}, "/bilder/a.jpg", 90), ImageSaveError);
    try {
        f().screen.Save_JPG({}, "/bilder/a.jpg", 90);
    } catch (const ImageSaveError& error) {
        EXPECT_STREQ(error.what(), "Speicherung des Bildes fehlgeschlagen. GDI+ Error:1");
    }
    fake.take();

    macro({basicSettings("100", "0"), "code:|009|pfad:|/bilder/a.jpg <90%>|",
           "code:|002|xpos:|4|ypos:|4|"});
    f().cmd_start.click();
    fake.clock.advance(110);
    EXPECT_EQ(f().lbl_hscaktuell.caption(), "1");
    EXPECT_EQ(f().befehl_nr, 2);
    // The log keeps why, which the error's number does not tell.
    EXPECT_EQ(runToEnd(),
              (Transcript{"jpeg \"/bilder/a.jpg\" 90",
                          "log \"Pontrel: Screenshot speichern ohne Wirkung: not writable: "
                          "/bilder/a.jpg\"",
                          "move 4,4", "release input", "drain queued input"}));
}

TEST_F(StepTest, EveryCommandOfAMacroReachesThePlatformInOrder) {
    fake.system.driveRoots = {"/dev/sr0"};
    f().cmd_neu.click();
    fake.take();
    fake.environment.randomValues = {0.5};
    macro({
        basicSettings("100", "0"),
        "code:|001|wait:|50|maxwait:|150|",
        "code:|002|xpos:|10|ypos:|20|",
        "code:|003|mouseclick:|middle|",
        "code:|005|start:|7|step:|1|",
        "code:|004|text:|a{CODE5}{ENTER}|",
        "code:|006|pfad:|/usr/bin/prog {CODE5}|",
        "code:|007|pc:|screenoff|",
        "code:|008|drive:|/dev/sr0|move:|close|",
        "code:|009|pfad:|/bilder/s{CODE5}.jpg <80%>|",
        "code:|010|xpos:|1|ypos:|1|break:|1|",
        "code:|007|pc:|input-disable|",
    });
    f().cmd_start.click();

    Transcript expected{
        "move 10,20",
        "mouse 32",
        "mouse 64",
        "clipboard clear",
        "clipboard \"7\"",
        "type a",
        "type 7",
        "tap Enter",
        "program \"/usr/bin/prog 7\"",
        "monitor off",
        "mci \"Open /dev/sr0 Type cdaudio Alias cd\"",
        "mci \"set cd door closed\"",
        "mci \"close cd\"",
        "jpeg \"/bilder/s7.jpg\" 80",
    };
    // Twenty polls, the reference capture the first of them, until the time-out of one unit.
    expected.insert(expected.end(), 20, "bmp \"/daten/code10.bmp\"");
    expected.insert(expected.end(), {"block input", "release input", "drain queued input"});
    EXPECT_EQ(runToEnd(), expected);
}

}  // namespace
}  // namespace pontrel
