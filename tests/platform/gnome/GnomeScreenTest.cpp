// Screen capture on GNOME in a private headless mutter: a screenshot of a native Wayland window
// written as BMP and JPEG, black beside the screen, a pixel watch that sees the window repaint,
// a stream of no node, and the program itself taking a screenshot and waiting for a repaint.
// Prints how long captures take.

#include <gtest/gtest.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QImage>
#include <QString>

#include "model/MacroFile.h"
#include "platform/gnome/GnomeScreenCapture.h"
#include "platform/qt/QtPictureWriter.h"
#include "support/wayland/MutterSession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t firstColour = 0x3366CC;
constexpr std::uint32_t secondColour = 0xCC6633;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The middle of the area the colour covers; (-1, -1) when it is nowhere.
std::pair<int, int> middleOf(const Bitmap& picture, std::uint32_t colour) {
    int left = picture.width;
    int right = -1;
    int top = picture.height;
    int bottom = -1;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.pixel(x, y) == colour) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? std::pair{-1, -1} : std::pair{(left + right) / 2, (top + bottom) / 2};
}

// One mutter with the test window for the whole suite: starting it takes seconds.
class GnomeScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_gnome_screen";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<QCoreApplication>(argc, argv);
        // XWayland for the program's own window.
        session_ = std::make_unique<test::MutterSession>("us", test::MutterSession::XWayland::Yes);
        turnFile_ = session_->folder() + "/clicks.txt.turn";
        window_ = session_->start(
            {PONTREL_TEST_WINDOW, session_->folder() + "/clicks.txt", "#3366cc", "#cc6633"},
            {{"QT_QPA_PLATFORM", "wayland"}}, "window");
        screen_ = std::make_unique<GnomeScreenCapture>(
            writer_, [](const std::string& line) { log_.push_back(line); });
    }
    static void TearDownTestSuite() {
        screen_.reset();
        window_.reset();
        session_.reset();
        application_.reset();
    }

    // Where the window shows, once it does. What went wrong while it did not is forgotten.
    static std::pair<int, int> windowMiddle() {
        std::pair<int, int> middle{-1, -1};
        test::eventually(
            [&] {
                middle = middleOf(screen_->capture(0, 0, 1920, 1080), firstColour);
                return middle.first >= 0;
            },
            20s);
        log_.clear();
        return middle;
    }

    static inline std::unique_ptr<QCoreApplication> application_;
    static inline std::unique_ptr<test::MutterSession> session_;
    static inline std::unique_ptr<test::SessionProcess> window_;
    static inline std::string turnFile_;
    static inline QtPictureWriter writer_;
    static inline std::vector<std::string> log_;
    static inline std::unique_ptr<GnomeScreenCapture> screen_;
};

TEST_F(GnomeScreenTest, AScreenshotShowsTheNativeWindowAsBmpAndJpeg) {
    ASSERT_TRUE(screen_->usable());
    EXPECT_EQ(screen_->screenSize().width, 1920);
    EXPECT_EQ(screen_->screenSize().height, 1080);
    const auto [x, y] = windowMiddle();
    ASSERT_GE(x, 0) << test::readFile(window_->logFile());

    const auto start = Clock::now();
    const Bitmap full = screen_->capture(0, 0, 1920, 1080);
    std::printf("full screen capture: %.1f ms\n", msSince(start));
    ASSERT_EQ(full.width, 1920);
    ASSERT_EQ(full.height, 1080);
    const std::string bmp = session_->folder() + "/shot.bmp";
    const std::string jpeg = session_->folder() + "/shot.jpg";
    ASSERT_TRUE(screen_->writeBitmapFile(full, bmp).ok());
    ASSERT_TRUE(screen_->writeJpegFile(full, jpeg, 90).ok());
    const QImage bmpImage(QString::fromStdString(bmp));
    const QImage jpegImage(QString::fromStdString(jpeg));
    ASSERT_EQ(bmpImage.size(), QSize(1920, 1080));
    ASSERT_EQ(jpegImage.size(), QSize(1920, 1080));
    EXPECT_EQ(bmpImage.pixel(x, y) & 0xFFFFFFU, firstColour);
    const QColor seen = jpegImage.pixelColor(x, y);
    EXPECT_NEAR(seen.red(), 0x33, 8);
    EXPECT_NEAR(seen.green(), 0x66, 8);
    EXPECT_NEAR(seen.blue(), 0xCC, 8);

    // Half off the left edge and half off the bottom; wholly off; nothing.
    const Bitmap edge = screen_->capture(-10, 1075, 20, 10);
    ASSERT_EQ(edge.width, 20);
    EXPECT_EQ(edge.pixel(0, 0), 0U);
    EXPECT_EQ(edge.pixel(19, 5), 0U);
    EXPECT_NE(edge.pixel(10, 0), 0U);  // the desktop's background
    EXPECT_EQ(screen_->capture(5000, 5000, 3, 3).pixels, std::vector<std::uint32_t>(9, 0U));
    EXPECT_TRUE(screen_->capture(0, 0, 0, 5).empty());
    EXPECT_TRUE(log_.empty()) << log_.front();
}

TEST_F(GnomeScreenTest, APixelWatchSeesTheWindowRepaint) {
    const auto [x, y] = windowMiddle();
    ASSERT_GE(x, 0) << test::readFile(window_->logFile());
    auto watched = [&, x = x, y = y] {
        const Bitmap block = screen_->capture(x, y, 5, 5);
        return block.empty() ? 0xFFFFFFFFU : block.pixel(0, 0);
    };
    auto start = Clock::now();
    ASSERT_EQ(watched(), firstColour);
    std::printf("first watch capture: %.1f ms\n", msSince(start));
    start = Clock::now();
    constexpr int polls = 100;
    for (int i = 0; i < polls; ++i) {
        watched();
    }
    std::printf("watch poll: %.4f ms each\n", msSince(start) / polls);

    std::ofstream{turnFile_};
    start = Clock::now();
    ASSERT_TRUE(test::eventually([&] { return watched() == secondColour; }, 5s));
    std::printf("repaint seen by the watch after %.1f ms (the window polls its file every 5 ms)\n",
                msSince(start));

    // Unasked for a while the stream ends; the next capture opens another.
    std::this_thread::sleep_for(FrameStream::idleEnd + 500ms);
    EXPECT_EQ(watched(), secondColour);
    EXPECT_TRUE(log_.empty()) << log_.front();
}

TEST_F(GnomeScreenTest, AStreamOfNoNodeGivesNoFrame) {
    PipeWireFrames frames;
    ASSERT_TRUE(frames.usable());
    const std::unique_ptr<FrameStream> stream = frames.open(0x7FFFFFF0, false);
    ASSERT_NE(stream, nullptr);
    EXPECT_FALSE(stream->frame(300ms).has_value());
}

// The default macro of the session's folder loads, starts and hides the window; it takes a
// screenshot, waits for the pixel to change, takes another and ends the program.
TEST_F(GnomeScreenTest, TheProgramSavesTheWindowAndWaitsForItsRepaint) {
    const std::string folder = session_->folder();
    auto window = session_->start({PONTREL_TEST_WINDOW, folder + "/e2e.txt", "#22aa44", "#aa2244"},
                                  {{"QT_QPA_PLATFORM", "wayland"}}, "e2e-window");
    std::pair<int, int> middle{-1, -1};
    ASSERT_TRUE(test::eventually(
        [&] {
            middle = middleOf(screen_->capture(0, 0, 1920, 1080), 0x22AA44);
            return middle.first >= 0;
        },
        20s));
    const auto [x, y] = middle;
    std::string macro = encodeMacroFile({
        "code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|",
        "code:|009|path:|" + folder + "/before.bmp|",
        "code:|010|xpos:|" + std::to_string(x) + "|ypos:|" + std::to_string(y) + "|break:|0|",
        "code:|009|path:|" + folder + "/after.bmp|",
        "code:|007|pc:|end|",
    });
    macro[5] = '2';  // load and start
    macro[6] = '9';  // hidden
    std::ofstream(folder + "/pontrel.qmc", std::ios::binary) << macro;

    auto program = session_->start({PONTREL_PROGRAM}, {}, "pontrel");
    // The watch has its reference once its work file exists.
    ASSERT_TRUE(
        test::eventually([&] { return !test::readFile(folder + "/code10.bmp").empty(); }, 20s))
        << test::readFile(program->logFile());
    std::ofstream{folder + "/e2e.txt.turn"};
    ASSERT_EQ(program->waitExit(20000), 0) << test::readFile(program->logFile());
    EXPECT_NE(test::readFile(program->logFile())
                  .find("Bildschirmfoto und Pixel Veränderung: GNOME (ScreenCast über PipeWire)\n"),
              std::string::npos)
        << test::readFile(program->logFile());
    EXPECT_EQ(QImage(QString::fromStdString(folder + "/before.bmp")).pixel(x, y) & 0xFFFFFFU,
              0x22AA44U);
    EXPECT_EQ(QImage(QString::fromStdString(folder + "/after.bmp")).pixel(x, y) & 0xFFFFFFU,
              0xAA2244U);
}

}  // namespace
}  // namespace pontrel
