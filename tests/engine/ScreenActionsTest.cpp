#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"
#include "engine/ScreenshotTarget.h"

namespace pontrel {
namespace {

using test::EngineFixture;
using test::Transcript;

TEST(ScreenshotTargetTest, PathAndQualityAreSplitAtTheFirstAngleBracket) {
    struct Case {
        std::string field;
        std::string path;
        int quality;
        bool jpeg;
    };
    const std::vector<Case> cases{
        {"/b/a.jpg <90%>", "/b/a.jpg", 90, true},
        {"/b/a.jpg", "/b/a.jpg", 100, true},
        {"/b/a.jpg <5%>", "/b/a.jpg", 10, true},
        {"/b/a.jpg <150%>", "/b/a.jpg", 100, true},
        {"/b/a.jpg <>", "/b/a.jpg", 100, true},
        {"/b/a.jpg <0%>", "/b/a.jpg", 100, true},
        {"/b/a.jpg <-7%>", "/b/a.jpg", 10, true},
        {"/b/a.jpg <1000%>", "/b/a.jpg", 100, true},  // only three characters are read
        {"/b/a.jpg <<90%>", "/b/a.jpg", 100, true},
        {"/b/a.JPG", "/b/a.JPG", 100, false},
        {"/b/a.bmp   ", "/b/a.bmp", 100, false},
        {"/b/a.bmp <90%>", "/b/a.bmp", 90, false},
        {"    <90%>", "", 90, false},
        {"a.b", "", 100, false},
        {"äöü", "", 100, false},  // three characters, though six bytes
        {"äöüß", "äöüß", 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const ScreenshotTarget target = splitScreenshotTarget(c.field);
        EXPECT_EQ(target.path, c.path);
        EXPECT_EQ(target.quality, c.quality);
        EXPECT_EQ(target.jpeg(), c.jpeg);
    }
}

using ScreenshotTest = EngineFixture;

TEST_F(ScreenshotTest, TheWholeScreenIsSavedInTheFormatOfTheTarget) {
    fake.screen.size = {8, 6};
    EXPECT_EQ(step("code:|009|pfad:|/b/a.jpg <90%>|"), Transcript{"jpeg \"/b/a.jpg\" 90"});
    EXPECT_EQ(f().pic_screenshot.image(), fake.screen.capture(0, 0, 8, 6));
    EXPECT_EQ(step("code:|009|pfad:|/b/a.JPG|"), Transcript{"bmp \"/b/a.JPG\""});
    EXPECT_EQ(step("code:|009|pfad:|/b/c.png  |"), Transcript{"bmp \"/b/c.png\""});
    EXPECT_EQ(step("code:|009|pfad:|abc|"), Transcript{});
}

TEST_F(ScreenshotTest, TheCounterNumbersScreenshots) {
    macro({basicSettings("100", "2"), "code:|005|start:|1|step:|1|",
           "code:|009|pfad:|/b/shot{CODE5}.bmp|"});
    f().cmd_start.click();
    runToEnd();
    for (const char* name : {"/b/shot1.bmp", "/b/shot2.bmp", "/b/shot3.bmp"}) {
        EXPECT_TRUE(fake.files.exists(name)) << name;
    }
    EXPECT_EQ(f().befehl_zeilen[2], "code:|009|pfad:|/b/shot{CODE5}.bmp|");
}

struct PixelWatchTest : EngineFixture {
    static constexpr const char* captureFile = "/daten/code10.bmp";

    // A watch of the pixel at (100, 200), then a pointer move one base wait after it ends.
    void watch(const std::string& timeOut) {
        macro({basicSettings("100", "0"), "code:|010|xpos:|100|ypos:|200|break:|" + timeOut + "|",
               "code:|002|xpos:|1|ypos:|1|"});
        f().cmd_start.click();
    }
    // Captures written so far, without taking the transcript.
    long captures() {
        return std::count(fake.log.begin(), fake.log.end(),
                          "bmp \"" + std::string(captureFile) + "\"");
    }
    void paint(int x, int y, std::uint32_t colour) {
        fake.screen.pixelAt = [x, y, colour](int px, int py) {
            return px == x && py == y ? colour : 0x00FFFFFFu;
        };
    }
};

TEST_F(PixelWatchTest, AChangeAnywhereInTheBlockEndsTheWatchAtTheNextPoll) {
    watch("0");
    fake.clock.advance(1000);
    EXPECT_EQ(f().pixel_status, 2);
    // Not the first pixel of the block: the whole block read back is compared.
    paint(103, 202, 0x00FF0000u);
    fake.clock.advance(20);  // a poll every step-timer period plus one advance-loop tick
    EXPECT_EQ(f().pixel_status, 0);
    EXPECT_EQ(f().Timer_start.interval(), 100);
    EXPECT_NE(whenLogged("move 1,1", 120), -1);
    EXPECT_EQ(f().pic_pixel.image(), fake.screen.capture(100, 200, 5, 5));
    EXPECT_TRUE(fake.files.exists(captureFile));
}

// The advance loop re-arms the step timer for its own next tick, and the step comes first.
TEST_F(PixelWatchTest, ThePixelIsPolledEveryTenMilliseconds) {
    watch("0");
    fake.clock.advance(1000);
    const long before = captures();
    fake.clock.advance(200);
    EXPECT_EQ(captures() - before, 20);
}

TEST_F(PixelWatchTest, ATimeOutOfThreeEndsAfterSixtyPolls) {
    watch("3");
    ASSERT_NE(whenLogged("move 1,1", 5000), -1);
    EXPECT_EQ(captures(), 60);  // the reference is the first of them
}

TEST_F(PixelWatchTest, WithoutATimeOutItWaitsForAChangeHoweverLong) {
    watch("0");
    fake.clock.advance(60000);
    EXPECT_EQ(f().pixel_status, 2);
    EXPECT_EQ(f().befehl_nr, 1);
    fake.input.press(test::stopKey);
    fake.clock.advance(10);
    EXPECT_FALSE(running());
}

TEST_F(PixelWatchTest, AnUnwritableCaptureFileStillEndsByTimeOutOrChange) {
    fake.files.unwritable.insert(captureFile);
    watch("3");
    ASSERT_NE(whenLogged("move 1,1", 5000), -1);
    EXPECT_EQ(captures(), 60);

    fake.take();
    watch("0");
    fake.clock.advance(500);
    EXPECT_EQ(f().pixel_status, 2);
    paint(100, 200, 0);
    fake.clock.advance(20);
    EXPECT_EQ(f().pixel_status, 0);
}

TEST_F(PixelWatchTest, ACaptureFileLostDuringTheWatchIsNoChange) {
    watch("3");
    fake.clock.advance(300);
    ASSERT_EQ(f().pixel_status, 2);
    fake.files.files.erase(captureFile);
    fake.files.unwritable.insert(captureFile);
    fake.clock.advance(100);
    EXPECT_EQ(f().pixel_status, 2);
    ASSERT_NE(whenLogged("move 1,1", 5000), -1);
    EXPECT_EQ(captures(), 60);
}

}  // namespace
}  // namespace pontrel
