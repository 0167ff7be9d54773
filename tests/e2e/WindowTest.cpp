#include <fstream>
#include <sstream>

#include "e2e/E2eTest.h"

namespace pontrel::e2e {
namespace {

class WindowTest : public E2eTest {};

std::string fileContent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST_F(WindowTest, AppearsWithItsTitleAndDesignClientSize) {
    PontrelApp app(desktop, pontrelProgram);
    const Window window = app.window();
    ASSERT_NE(window, 0U) << "no window appeared; the program wrote:\n" << app.log();
    EXPECT_EQ(desktop.title(window), "Pontrel");
    const Rect client = desktop.clientRect(window);
    EXPECT_EQ(client.width, 305);
    EXPECT_EQ(client.height, 478);
}

TEST_F(WindowTest, SpeichernWritesTheDefaultMacro) {
    PontrelApp app(desktop, pontrelProgram);
    ASSERT_NE(app.window(), 0U) << app.log();
    ASSERT_TRUE(desktop.focus(app.window()));
    // The button "Speichern" at (3360, 4200) with 930 x 375 twips.
    desktop.click(app.atDesign(3360 + 465, 4200 + 187));

    const std::filesystem::path file = desktop.folder() / "pontrel.qmc";
    const std::string expectedRecords =
        "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|\r\n"
        "code:|001|wait:|0|\r\n"
        "code:|001|wait:|0|\r\n"
        "code:|001|wait:|0|\r\n"
        "key:|1222|\r\n";
    std::string content;
    waitUntil(
        [&] {
            content = fileContent(file);
            return content.ends_with(expectedRecords);
        },
        5000);
    ASSERT_TRUE(std::filesystem::exists(file)) << "no pontrel.qmc; the program wrote:\n"
                                               << app.log();
    const std::size_t headerEnd = content.find("\r\n");
    ASSERT_NE(headerEnd, std::string::npos) << content;
    EXPECT_TRUE(content.starts_with(".qmc 0000")) << content.substr(0, headerEnd);
    EXPECT_EQ(content.substr(headerEnd + 2), expectedRecords);
    EXPECT_EQ(content.find('\n'), headerEnd + 1) << "the header line is not ended by CR LF";
}

bool pointPickerShown() {
    try {
        return !runTool({"xdotool", "search", "--onlyvisible", "--name", "Punkt wählen"}).empty();
    } catch (const std::exception&) {
        return false;  // xdotool found no such window
    }
}

TEST_F(WindowTest, EnterInThePositionPanelPicksAClickedPointAndEscapeKeepsTheValues) {
    const std::filesystem::path file =
        writeMacro(desktop, "pontrel.qmc", {basicSettings(500), moveRecord({11, 22})}, '1');
    PontrelApp app(desktop, pontrelProgram);
    ASSERT_NE(app.window(), 0U) << app.log();
    ASSERT_TRUE(desktop.focus(app.window()));
    std::filesystem::remove(file);
    // Line 1 of the list (12 pixels a line) shows the position panel.
    desktop.click(app.atDesign(1500, 5040 + 270));
    const Point speichern = app.atDesign(3360 + 465, 4200 + 187);
    const auto saved = [&](const std::string& record) {
        desktop.click(speichern);
        return waitUntil([&] { return fileContent(file).find(record) != std::string::npos; }, 5000);
    };

    ASSERT_TRUE(desktop.pressKeyUntil("Return", pointPickerShown, 5000)) << app.log();
    desktop.pressKey("Escape");
    ASSERT_TRUE(waitUntil([] { return !pointPickerShown(); }, 5000));
    EXPECT_TRUE(saved("code:|002|xpos:|11|ypos:|22|\r\n")) << fileContent(file);

    ASSERT_TRUE(desktop.pressKeyUntil("Return", pointPickerShown, 5000)) << app.log();
    const Point picked{1500, 900};  // far from our window, on the frozen picture
    desktop.click(picked);
    ASSERT_TRUE(waitUntil([] { return !pointPickerShown(); }, 5000));
    EXPECT_TRUE(saved("code:|002|xpos:|1500|ypos:|900|\r\n")) << fileContent(file);
}

TEST_F(WindowTest, ClosingTheWindowEndsTheProcess) {
    PontrelApp app(desktop, pontrelProgram);
    ASSERT_NE(app.window(), 0U) << app.log();
    // The window manager's close key sends the window its close request. A window manager that
    // is still settling may miss the first press, as a person would see; press again then.
    std::optional<int> code;
    for (int attempt = 0; attempt < 5 && !code; ++attempt) {
        ASSERT_TRUE(desktop.focus(app.window()));
        runTool({"xdotool", "key", "alt+F4"});
        code = app.process().waitExit(2000);
    }
    ASSERT_TRUE(code.has_value()) << "still running 10 s after the window was closed";
    EXPECT_EQ(*code, 0) << app.log();
}

}  // namespace
}  // namespace pontrel::e2e
