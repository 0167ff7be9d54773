#include <gtest/gtest.h>

#include <string>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

struct WindowOptionsTest : test::FormFixture {
    void SetUp() override {
        start();
        fake.window.frame = {100, 100, 300, 500};
    }
    void pointer(int x, int y) { fake.input.cursor = {x, y}; }
    std::vector<int> opacities() {
        std::vector<int> values;
        for (const std::string& line : fake.take()) {
            if (line.rfind("opacity ", 0) == 0) {
                values.push_back(std::stoi(line.substr(8)));
            }
        }
        return values;
    }
};

TEST_F(WindowOptionsTest, LeavingTheWindowFadesOutAndComingBackFadesIn) {
    pointer(200, 200);
    f().chk_0_transparenz.setValue(1);
    fake.clock.advance(50);
    EXPECT_TRUE(opacities().empty());

    pointer(100, 200);  // on the left edge: outside
    fake.clock.advance(500);
    std::vector<int> out = opacities();
    ASSERT_EQ(out.size(), 88U);
    EXPECT_EQ(out.front(), 255);
    EXPECT_EQ(out.back(), 81);
    EXPECT_TRUE(f().ausgeblendet);

    pointer(101, 101);
    fake.clock.advance(500);
    std::vector<int> in = opacities();
    ASSERT_EQ(in.size(), 88U);
    EXPECT_EQ(in.front(), 80);
    EXPECT_EQ(in.back(), 254);
    EXPECT_FALSE(f().ausgeblendet);
}

TEST_F(WindowOptionsTest, APointerBackDuringAFadeOutEndsOpaque) {
    f().chk_0_transparenz.setValue(1);
    pointer(0, 0);
    fake.clock.advance(40);
    pointer(200, 200);
    fake.clock.advance(1000);
    EXPECT_EQ(fake.window.opacity, 254);
    EXPECT_FALSE(f().ausgeblendet);
}

TEST_F(WindowOptionsTest, UncheckingTransparencyLeavesTheWindowFaded) {
    f().chk_0_transparenz.setValue(1);
    pointer(0, 0);
    fake.clock.advance(500);
    f().chk_0_transparenz.setValue(0);
    pointer(200, 200);
    fake.clock.advance(500);
    EXPECT_EQ(fake.window.opacity, 81);
}

TEST_F(WindowOptionsTest, CtrlDTwiceReturnsToTheSmallLayout) {
    f().lst_code.KeyPress(4);
    EXPECT_EQ(f().mnudisplay.caption(), "Weniger anzeigen");
    EXPECT_EQ(f().frm_pontrel.outerHeight(), 9619);
    EXPECT_EQ(f().lst_code.geometry().height, 268 * 15);

    f().lst_code.KeyPress(4);
    EXPECT_EQ(f().mnudisplay.caption(), "Mehr anzeigen");
    EXPECT_EQ(f().frm_pontrel.outerHeight(), 7665);
    EXPECT_EQ(f().frm_pontrel.clientHeight(), 7170);
    EXPECT_EQ(f().lst_code.geometry().height, 134 * 15);
}

TEST_F(WindowOptionsTest, EnterCapturesThePointerIntoThePositionPanelShown) {
    f().befehl_code = 2;
    f().Timer_XYPos.setEnabled(true);
    pointer(640, 480);
    fake.clock.advance(10);
    EXPECT_EQ(f().lbl_2_Xpixel.caption(), "X: 640 Pixel");
    EXPECT_EQ(f().lbl_2_Ypixel.caption(), "Y: 480 Pixel");
    EXPECT_EQ(f().txt_2_x.text(), "0");

    fake.input.press(13);
    fake.clock.advance(10);
    EXPECT_EQ(f().txt_2_x.text(), "640");
    EXPECT_EQ(f().txt_2_y.text(), "480");

    f().befehl_code = 10;
    pointer(7, 8);
    fake.clock.advance(10);  // still held: 0x8000 captures nothing
    EXPECT_EQ(f().txt_10_x.text(), "0");
    fake.input.release(13);
    fake.input.press(13);
    fake.clock.advance(10);
    EXPECT_EQ(f().txt_10_x.text(), "7");
    EXPECT_EQ(f().txt_10_y.text(), "8");

    f().befehl_code = 4;
    pointer(1, 1);
    fake.input.release(13);
    fake.input.press(13);
    fake.clock.advance(10);
    EXPECT_EQ(f().txt_10_x.text(), "7");
    EXPECT_EQ(f().txt_2_x.text(), "640");
}

TEST_F(WindowOptionsTest, DisplayTimersRunOnlyWhileTheWindowIsOnTheScreen) {
    f().befehl_code = 2;
    f().Timer_XYPos.setEnabled(true);
    f().chk_0_transparenz.setValue(1);
    pointer(200, 200);
    fake.clock.advance(10);
    ASSERT_EQ(f().lbl_2_Xpixel.caption(), "X: 200 Pixel");
    fake.take();

    for (const bool minimize : {true, false}) {
        SCOPED_TRACE(minimize);
        if (minimize) {
            f().frm_pontrel.setMinimized(true);
        } else {
            f().frm_pontrel.setVisible(false);
        }
        fake.clock.advance(10);
        EXPECT_EQ(fake.clock.activeTimers(), 0U);
        pointer(7, 8);  // outside the window and not shown: nothing follows
        fake.clock.advance(1000);
        EXPECT_TRUE(fake.take().empty());
        EXPECT_EQ(f().lbl_2_Xpixel.caption(), "X: 200 Pixel");
        EXPECT_TRUE(f().Timer_XYPos.enabled());

        f().frm_pontrel.setMinimized(false);
        f().frm_pontrel.setVisible(true);  // back at once, before any timer is due
        EXPECT_EQ(f().lbl_2_Xpixel.caption(), "X: 7 Pixel");
        EXPECT_EQ(fake.take().front(), "opacity 255");  // the pointer outside starts a fade-out
        fake.clock.advance(1000);
        pointer(200, 200);
        fake.clock.advance(1000);
        fake.take();
    }
}

TEST_F(WindowOptionsTest, HeaderWindowDigitsSwitchTheOptions) {
    struct Case {
        char digit;
        int transparency, topmost, list;
        bool visible;
    };
    for (const Case c :
         {Case{'1', 1, 0, 1, true}, Case{'3', 1, 1, 1, true}, Case{'4', 0, 0, 0, true},
          Case{'6', 0, 1, 0, true}, Case{'7', 1, 1, 0, true}, Case{'8', 0, 0, 1, true},
          Case{'x', 0, 0, 1, true}, Case{'9', 0, 0, 1, false}}) {
        f().options.form_eigenschaften(".qmc 0000");  // back to the plain window
        std::string header = ".qmc 0000 Pontrel";
        header[6] = c.digit;
        f().options.form_eigenschaften(header);
        EXPECT_EQ(f().chk_0_transparenz.value(), c.transparency) << c.digit;
        EXPECT_EQ(f().chk_0_vordergrund.value(), c.topmost) << c.digit;
        EXPECT_EQ(f().chk_0_listbox.value(), c.list) << c.digit;
        EXPECT_EQ(f().lst_code.visible(), c.list == 1) << c.digit;
        EXPECT_EQ(f().frm_pontrel.visible(), c.visible) << c.digit;
        EXPECT_EQ(fake.window.topmost, c.topmost == 1) << c.digit;
    }
}

TEST_F(WindowOptionsTest, WithoutWindowEffectsTheBoxesSayWhyAndValuesFromAFileDoNothing) {
    f().options.fenstereffekte_sperren("geht hier nicht");
    for (const CheckBox* control : {&f().chk_0_transparenz, &f().chk_0_vordergrund}) {
        EXPECT_FALSE(control->enabled()) << control->name();
        EXPECT_EQ(control->toolTip(), "geht hier nicht") << control->name();
    }
    EXPECT_EQ(f().lbl_0_transparenz.toolTip(), "geht hier nicht");

    f().options.form_eigenschaften(".qmc 0300");
    EXPECT_EQ(f().chk_0_transparenz.value(), 1);  // kept for the file
    EXPECT_EQ(f().chk_0_vordergrund.value(), 1);
    pointer(0, 0);
    fake.clock.advance(500);
    EXPECT_TRUE(opacities().empty());
    EXPECT_FALSE(fake.window.topmost);
}

TEST_F(WindowOptionsTest, OptionsNotNamedByTheDigitKeepTheirState) {
    f().chk_0_vordergrund.setValue(1);
    f().options.form_eigenschaften(".qmc 0100");
    EXPECT_EQ(f().chk_0_transparenz.value(), 1);
    EXPECT_EQ(f().chk_0_vordergrund.value(), 1);
}

TEST_F(WindowOptionsTest, LookDigitsChooseTheColourScheme) {
    f().options.form_eigenschaften(".qmc 0003");
    EXPECT_EQ(f().frm_pontrel.backColour(), 7368959);
    EXPECT_EQ(f().img_pontrel.picture(), f().img_versionspontrel_2.picture());
    f().options.form_eigenschaften(".qmc 0008");
    EXPECT_EQ(f().frm_pontrel.backColour(), 7368959);
    f().options.form_eigenschaften(".qmc 0001");
    EXPECT_EQ(f().opt_7_pc[4].backColour(), 6348832);
    f().options.form_eigenschaften(".qmc 0");  // a short header reads as 0
    EXPECT_EQ(f().opt_7_pc[4].backColour(), 6348832);
}

TEST_F(WindowOptionsTest, TheLogoOpensTheHomePage) {
    f().img_brantsoftlogo.click();
    const test::Transcript log = fake.take();
    ASSERT_EQ(log.size(), 1U);
    EXPECT_EQ(log[0].rfind("open url \"", 0), 0U);
}

}  // namespace
}  // namespace pontrel
