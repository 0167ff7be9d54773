#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

constexpr int enterKey = 13;

struct PointerDisplayTest : test::FormFixture {
    void SetUp() override {
        fake.screen.size = {320, 240};
        fake.input.cursor = {64, 48};
        start();
    }
    // Shows the panel of a fresh record of this code in slot 1.
    void showPanel(const std::string& record) {
        f().befehl_zeilen[1] = record;
        f().befehl_anzahl = 1;
        f().befehl_nr = 1;
        f().records.befehl_aktuellencode();
        f().aenderung_sperren = true;
        f().panels.codesichtbar();
        f().aenderung_sperren = false;
        fake.clock.advance(10);
    }
    void pressEnter() {
        fake.input.release(enterKey);
        fake.input.press(enterKey);
        fake.clock.advance(10);
    }
    bool pickerShown() {
        const test::Transcript lines = fake.take();
        return std::find(lines.begin(), lines.end(), "pick point on 320x240") != lines.end();
    }
};

TEST_F(PointerDisplayTest, EnterTakesThePickedOrTheLivePointOnEachDesktop) {
    struct Case {
        const char* name;
        bool ourWindowActive;
        bool pointerEverywhere;
        bool toolkitPicks;
        bool screenReadable;
        std::optional<ScreenPoint> picked;
        bool pickerShown;
        const char* record;  // slot 1 afterwards
    };
    const ScreenPoint picked{319, 7};
    const Case cases[] = {
        {"our window: picked", true, true, true, true, picked, true,
         "code:|002|xpos:|319|ypos:|7|"},
        {"our window: cancelled", true, true, true, true, std::nullopt, true,
         "code:|002|xpos:|0|ypos:|0|"},
        {"another program, pointer known: live", false, true, true, true, picked, false,
         "code:|002|xpos:|64|ypos:|48|"},
        {"another program, pointer unknown: picked", false, false, true, true, picked, true,
         "code:|002|xpos:|319|ypos:|7|"},
        {"no picker in this toolkit: live", true, true, false, true, picked, false,
         "code:|002|xpos:|64|ypos:|48|"},
        {"no picker, pointer unknown: unchanged", true, false, false, true, picked, false,
         "code:|002|xpos:|0|ypos:|0|"},
        {"screen unreadable: live", true, true, true, false, picked, false,
         "code:|002|xpos:|64|ypos:|48|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.window.active = c.ourWindowActive;
        fake.input.pointerEverywhere = c.pointerEverywhere;
        fake.dialogs.pointPicker = c.toolkitPicks;
        fake.screen.size = c.screenReadable ? ScreenSize{320, 240} : ScreenSize{0, 0};
        fake.dialogs.pickedPoints = {c.picked};
        showPanel("code:|002|xpos:|0|ypos:|0|");
        fake.take();

        pressEnter();
        EXPECT_EQ(pickerShown(), c.pickerShown);
        EXPECT_EQ(f().befehl_zeilen[1], c.record);
    }
}

TEST_F(PointerDisplayTest, APickFillsThePixelWatchPanelAndAnEnterOnThePictureIsNoNewPick) {
    fake.window.active = true;
    showPanel("code:|010|xpos:|1|ypos:|2|break:|3|");
    fake.dialogs.pickedPoints = {ScreenPoint{5, 6}};
    // Enter pressed on the picture, still held when it closes.
    fake.dialogs.whilePickerOpen = [&] { fake.input.press(enterKey); };
    pressEnter();
    EXPECT_EQ(f().befehl_zeilen[1], "code:|010|xpos:|5|ypos:|6|break:|3|");
    fake.take();
    fake.input.release(enterKey);
    fake.clock.advance(100);
    EXPECT_FALSE(pickerShown());
}

TEST_F(PointerDisplayTest, WhereThePointerIsUnknownTheDisplayShowsAHintNotNumbers) {
    fake.input.pointerEverywhere = false;
    showPanel("code:|002|xpos:|0|ypos:|0|");
    EXPECT_EQ(f().lbl_2_Xpixel.caption(), "X: mit Enter wählen");
    EXPECT_EQ(f().lbl_2_Ypixel.caption(), "Y: mit Enter wählen");
}

TEST_F(PointerDisplayTest, DuringARunEnterTakesNoPicture) {
    fake.window.active = true;
    f().befehl_zeilen[0] = "code:|000|wait:|1000|loop:|0|start:|no|stop:|ESC|";
    f().befehl_zeilen[1] = "code:|002|xpos:|1|ypos:|2|";
    f().befehl_zeilen[2] = "code:|001|wait:|0|";
    f().befehl_anzahl = 2;
    f().cmd_start.click();
    fake.clock.advance(1100);  // the step has shown panel 2; the run waits behind it
    ASSERT_TRUE(f().run.running());
    ASSERT_TRUE(f().Timer_XYPos.enabled());
    fake.take();
    pressEnter();
    EXPECT_FALSE(pickerShown());
    EXPECT_EQ(f().befehl_zeilen[1], "code:|002|xpos:|1|ypos:|2|");
}

}  // namespace
}  // namespace pontrel
