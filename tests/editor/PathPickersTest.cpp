#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor/EditorFixture.h"
#include "editor/ScreenshotPath.h"

namespace pontrel {
namespace {

using test::Transcript;

const std::string screenshotFilter = "\"BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg\"";

struct PathPickersTest : test::EditorFixture {
    // Shows a screenshot command holding path, answers the dialog and clicks the picker.
    Transcript pickScreenshot(const std::string& path, std::optional<std::string> chosen) {
        show(3, "code:|009|pfad:|" + path + "|");
        fake.take();
        fake.dialogs.chosenFiles.push_back(std::move(chosen));
        f().cmd_9_pfad.click();
        fake.dialogs.chosenFiles.clear();
        return fake.take();
    }
};

TEST_F(PathPickersTest, TheScreenshotPickerKeepsExtensionAndQualityMark) {
    struct Case {
        std::string box;
        std::optional<std::string> chosen;
        std::string offered;  // the name the dialog opens with
        std::string result;
    };
    const std::vector<Case> cases{
        {"C:\\Bilder\\Screenshot.jpg <90%>", std::nullopt, "C:\\Bilder\\Screenshot",
         "C:\\Bilder\\Screenshot.jpg <90%>"},
        {"C:\\Bilder\\alt.bmp", "C:\\Bilder\\neu.jpg", "C:\\Bilder\\alt",
         "C:\\Bilder\\neu.jpg <90%>"},
        {"C:\\Bilder\\alt.bmp", "C:\\Bilder\\neu", "C:\\Bilder\\alt", "C:\\Bilder\\neu.bmp"},
        {"C:\\Bilder\\alt.bmp", "C:\\Bilder\\neu.JPG", "C:\\Bilder\\alt", "C:\\Bilder\\neu.JPG"},
        {"C:\\a.jpg<90%>", std::nullopt, "C:\\a.jp", "C:\\a.jp"},
        {"/bilder/ohne", "/bilder/bild.jpg", "/bilder/ohne", "/bilder/bild.jpg <90%>"},
    };
    for (const Case& c : cases) {
        const Transcript dialogs = pickScreenshot(c.box, c.chosen);
        EXPECT_EQ(dialogs, (Transcript{"save dialog comdia_9 " + screenshotFilter + " \"" +
                                       c.offered + "\""}))
            << c.box;
        EXPECT_EQ(f().txt_9_pfad.text(), c.result) << c.box;
        EXPECT_EQ(slot(3), "code:|009|pfad:|" + c.result + "|") << c.box;
    }
}

TEST_F(PathPickersTest, PathsTheScreenshotPickerCannotTakeApartEndItSilently) {
    struct Case {
        std::string box;
        std::optional<std::string> chosen;
        bool dialogShown;
    };
    const std::vector<Case> cases{
        {"C:\\Bilder\\bild.jpg>", "C:\\x.bmp", false},  // ">" without "<"
        {"<90%>", "C:\\x.bmp", false},
        {"a<90%>", "C:\\x.bmp", false},
        {"a.b", "C:\\x.bmp", false},  // too short for an extension check
        {"", std::nullopt, true},     // an empty name back from the dialog
        {"C:\\Bilder\\alt.bmp", "ab", true},
        {"C:\\Bilder\\ohne", "a.jpg", true},  // a name too short for the doubled-extension check
    };
    for (const Case& c : cases) {
        const Transcript dialogs = pickScreenshot(c.box, c.chosen);
        EXPECT_EQ(dialogs.size(), c.dialogShown ? 1u : 0u) << c.box;
        EXPECT_EQ(f().txt_9_pfad.text(), c.box) << c.box;
    }
}

TEST_F(PathPickersTest, TheProgramPickerOffersProgramsAndReentersItsLastChoice) {
    show(4, "code:|006|pfad:|/daten/Pontrel|");
    fake.take();
    fake.dialogs.chosenFiles.push_back("/usr/bin/start.bat");
    f().cmd_6_pfad.click();
    EXPECT_EQ(fake.take(), (Transcript{"open dialog comdia_6 \".exe|*.exe|.bat|*.bat\" \"\""}));
    EXPECT_EQ(slot(4), "code:|006|pfad:|/usr/bin/start.bat|");

    f().txt_6_pfad.setText("/anders");
    f().cmd_6_pfad.click();  // cancelled
    EXPECT_EQ(fake.take(), (Transcript{"open dialog comdia_6 \".exe|*.exe|.bat|*.bat\" "
                                       "\"/usr/bin/start.bat\""}));
    EXPECT_EQ(f().txt_6_pfad.text(), "/usr/bin/start.bat");
}

TEST(ScreenshotPathTest, PositionsCountCharactersNotBytes) {
    const auto start = screenshotDialogStart("/bilder/b.äöü");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->fileName, "/bilder/b");
    EXPECT_EQ(start->extension, ".äöü");

    const auto marked = screenshotDialogStart("/bilder/bäume.jpg <90%>");
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->fileName, "/bilder/bäume");

    EXPECT_FALSE(screenshotDialogStart("ä<90%>"));  // "<" is the second character
    EXPECT_EQ(screenshotPathAfterDialog("/ü.jpg", ".bmp"), "/ü.jpg <90%>");
    EXPECT_FALSE(screenshotPathAfterDialog("ä.ö", ""));  // three characters
}

}  // namespace
}  // namespace pontrel
