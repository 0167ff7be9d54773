#include <gtest/gtest.h>

#include "EngineFixture.h"

namespace pontrel {
namespace {

using test::EngineFixture;
using test::Transcript;

using IgnoredFailuresTest = EngineFixture;

TEST_F(IgnoredFailuresTest, ARunGoesOnAfterFailedActionsAndLogsWhy) {
    fake.calls.failCalls("clipboard \"");
    fake.calls.failCalls("program");
    macro({basicSettings("100", "0"), "code:|005|start:|7|step:|1|", "code:|006|pfad:|/bin/fehlt|",
           "code:|002|xpos:|1|ypos:|2|"});
    f().cmd_start.click();
    // A call that succeeds (clearing the clipboard) leaves no line in the log.
    const std::string why = " ohne Wirkung: refused by the test\"";
    EXPECT_EQ(runToEnd(), (Transcript{
                              "clipboard clear",
                              "clipboard \"7\"",
                              "log \"Pontrel: Zwischenablage füllen" + why,
                              "program \"/bin/fehlt\"",
                              "log \"Pontrel: Programm starten" + why,
                              "move 1,2",
                              "release input",
                              "drain queued input",
                          }));
    EXPECT_EQ(fake.clipboard.text, "");
}

}  // namespace
}  // namespace pontrel
