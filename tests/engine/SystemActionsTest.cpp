#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"

namespace pontrel {
namespace {

using test::EngineFixture;
using test::Transcript;

using SystemActionsTest = EngineFixture;

TEST_F(SystemActionsTest, PcCommandWordsAreExactAndCaseSensitive) {
    struct Case {
        std::string word;
        Transcript sent;
    };
    const std::vector<Case> cases{
        {"lockpc", {"lock"}},
        {"LOCKPC", {}},
        {"shutdown", {"shutdown"}},
        {"screenoff", {"monitor off"}},
        {"input-disable", {"block input"}},
        {"input-enable", {"release input"}},
        {"reboot", {"reboot", "message \"reboot\" title \"Pontrel\" ok"}},
        // The input block goes first and queued keys still arrive before the program ends.
        {"end", {"release input", "drain queued input", "exit 0"}},
        {"end ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(step("code:|007|pc:|" + c.word + "|"), c.sent);
    }
}

TEST_F(SystemActionsTest, AnInputBlockIsLiftedByTheNaturalEndOnly) {
    macro({basicSettings("100", "0"), "code:|007|pc:|input-disable|", "code:|001|wait:|5000|"});
    f().cmd_start.click();
    runToEnd();
    EXPECT_FALSE(fake.input.blocked);

    f().cmd_start.click();
    fake.clock.advance(150);
    fake.input.press(test::stopKey);
    fake.clock.advance(10);
    EXPECT_FALSE(running());
    EXPECT_TRUE(fake.input.blocked);
}

TEST_F(SystemActionsTest, ProgramPathLosesBarsAndTakesTheCounter) {
    f().zaehler_wert = 12;
    EXPECT_EQ(step("code:|006|pfad:|/usr/bin/tool --n={CODE5}/{code5}/{Code5}|"),
              Transcript{"program \"/usr/bin/tool --n=12/12/{Code5}\""});
    EXPECT_EQ(f().befehl_wert1[1], "/usr/bin/tool --n=12/12/{Code5}");
}

struct CdDriveTest : EngineFixture {
    void SetUp() override {
        fake.system.driveRoots = {"/dev/sr0", "/dev/sr1"};
        EngineFixture::SetUp();
    }
};

TEST_F(CdDriveTest, OnlyTheWordCloseClosesTheTray) {
    const Transcript opening{"mci \"Open /dev/sr1 Type cdaudio Alias cd\"",
                             "mci \"set cd door open\"", "mci \"close cd\""};
    const Transcript closing{"mci \"Open /dev/sr1 Type cdaudio Alias cd\"",
                             "mci \"set cd door closed\"", "mci \"close cd\""};
    EXPECT_EQ(step("code:|008|drive:|/dev/sr1|move:|open|"), opening);
    EXPECT_EQ(step("code:|008|drive:|/dev/sr1|move:|Open|"), opening);
    EXPECT_EQ(step("code:|008|drive:|/dev/sr1|move:|close|"), closing);
}

TEST_F(CdDriveTest, TheDriveSearchFillsTheSelectorsOnceAndFollowsTheMachine) {
    EXPECT_EQ(f().com_8_laufwerk.items(), (std::vector<std::string>{"/dev/sr0", "/dev/sr1"}));
    EXPECT_EQ(f().com_8_laufwerk.text(), "/dev/sr0");
    EXPECT_EQ(f().com_8_move.text(), "Auswerfen");
    EXPECT_FALSE(f().keine_cd);

    f().com_8_move.setText("Einziehen");
    f().cmd_neu.click();
    EXPECT_EQ(f().com_8_laufwerk.items(), (std::vector<std::string>{"/dev/sr0", "/dev/sr1"}));
    EXPECT_EQ(f().com_8_move.text(), "Auswerfen");

    fake.system.driveRoots.clear();
    f().cmd_neu.click();
    EXPECT_TRUE(f().keine_cd);
    EXPECT_TRUE(f().com_8_laufwerk.items().empty());
    EXPECT_FALSE(f().com_8_laufwerk.enabled());
    EXPECT_FALSE(f().com_8_move.enabled());
    fake.take();
    EXPECT_EQ(step("code:|008|drive:|/dev/sr0|move:|open|"), Transcript{});

    fake.system.driveRoots = {"/dev/sr2"};
    f().cmd_neu.click();
    EXPECT_FALSE(f().keine_cd);
    EXPECT_TRUE(f().com_8_laufwerk.enabled());
    EXPECT_TRUE(f().com_8_move.enabled());
    EXPECT_EQ(f().com_8_laufwerk.text(), "/dev/sr2");
}

}  // namespace
}  // namespace pontrel
