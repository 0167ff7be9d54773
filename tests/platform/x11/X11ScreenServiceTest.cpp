#include "platform/x11/X11ScreenService.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "platform/qt/QtPictureWriter.h"
#include "support/display/XvfbServer.h"

#include <X11/Xlib.h>
#undef Status

namespace pontrel {
namespace {

constexpr int screenWidth = 640;
constexpr int screenHeight = 480;
constexpr std::uint32_t background = 0x204060;
constexpr std::uint32_t boxColour = 0xFF8000;
constexpr int boxX = 100;
constexpr int boxY = 50;
constexpr int boxWidth = 200;
constexpr int boxHeight = 100;

// Paints the root background and one window of a known colour, as another program would.
class Painter {
public:
    Painter() : display_(XOpenDisplay(nullptr)) {
        const Window root = DefaultRootWindow(display_);
        XSetWindowBackground(display_, root, background);
        XClearWindow(display_, root);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixel = boxColour;
        const Window box = XCreateWindow(display_, root, boxX, boxY, boxWidth, boxHeight, 0,
                                         CopyFromParent, InputOutput, CopyFromParent,
                                         CWOverrideRedirect | CWBackPixel, &attributes);
        XMapRaised(display_, box);
        XSync(display_, False);
    }
    ~Painter() { XCloseDisplay(display_); }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

private:
    Display* display_;
};

std::uint32_t expectedAt(int x, int y) {
    if (x < 0 || y < 0 || x >= screenWidth || y >= screenHeight) {
        return 0;
    }
    const bool inBox = x >= boxX && x < boxX + boxWidth && y >= boxY && y < boxY + boxHeight;
    return inBox ? boxColour : background;
}

class X11ScreenServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<test::XvfbServer>(screenWidth, screenHeight);
        painter_ = std::make_unique<Painter>();
    }
    static void TearDownTestSuite() {
        painter_.reset();
        server_.reset();
    }

    std::string path(const char* name) const {
        return QDir(directory_.path()).filePath(name).toStdString();
    }

    static std::unique_ptr<test::XvfbServer> server_;
    static std::unique_ptr<Painter> painter_;
    QtPictureWriter pictures_;
    X11ScreenService screen_{pictures_};
    QTemporaryDir directory_;
};

std::unique_ptr<test::XvfbServer> X11ScreenServiceTest::server_;
std::unique_ptr<Painter> X11ScreenServiceTest::painter_;

TEST_F(X11ScreenServiceTest, ScreenSizeIsTheRootWindow) {
    const ScreenSize size = screen_.screenSize();
    EXPECT_EQ(size.width, screenWidth);
    EXPECT_EQ(size.height, screenHeight);
}

// Rectangles inside, across every edge and beyond the screen: each pixel is the screen's or
// black.
TEST_F(X11ScreenServiceTest, CaptureEqualsTheScreenAndIsBlackOutside) {
    struct Rectangle {
        int x, y, width, height;
    };
    const Rectangle rectangles[] = {
        {0, 0, screenWidth, screenHeight},
        {boxX - 7, boxY - 5, 30, 20},
        {-2, -2, 5, 5},
        {screenWidth - 3, screenHeight - 3, 5, 5},
        {screenWidth - 3, -2, 5, 5},
        {-2, screenHeight - 3, 5, 5},
        {screenWidth + 10, 0, 5, 5},
        {-20, -20, screenWidth + 40, screenHeight + 40},
    };
    for (const Rectangle& r : rectangles) {
        SCOPED_TRACE(::testing::Message()
                     << r.x << "," << r.y << " " << r.width << "x" << r.height);
        const Bitmap bitmap = screen_.capture(r.x, r.y, r.width, r.height);
        ASSERT_EQ(bitmap.width, r.width);
        ASSERT_EQ(bitmap.height, r.height);
        int wrong = 0;
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                if (bitmap.pixel(x, y) != expectedAt(r.x + x, r.y + y) && wrong++ < 3) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex
                                  << bitmap.pixel(x, y);
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(X11ScreenServiceTest, EmptyRectangleGivesNoPicture) {
    EXPECT_TRUE(screen_.capture(0, 0, 0, 10).empty());
    EXPECT_TRUE(screen_.capture(0, 0, 10, -1).empty());
}

// The engine writes bitmaps under any name, 'a.JPG' included.
TEST_F(X11ScreenServiceTest, BitmapFileIsAWindowsBitmapWhateverTheExtension) {
    const Bitmap shot = screen_.capture(0, 0, screenWidth, screenHeight);
    for (const char* name : {"shot.bmp", "a.JPG", "code10"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(screen_.writeBitmapFile(shot, path(name)).ok());
        QImageReader reader(QString::fromStdString(path(name)));
        EXPECT_EQ(reader.format(), "bmp");
        const QImage image = reader.read();
        ASSERT_EQ(image.size(), QSize(screenWidth, screenHeight));
        EXPECT_EQ(image.pixel(boxX + 1, boxY + 1) & 0xFFFFFFU, boxColour);
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFFU, background);
    }
}

TEST_F(X11ScreenServiceTest, JpegFileHasTheScreenAndItsQuality) {
    const Bitmap shot = screen_.capture(0, 0, screenWidth, screenHeight);
    ASSERT_TRUE(screen_.writeJpegFile(shot, path("low.jpg"), 10).ok());
    ASSERT_TRUE(screen_.writeJpegFile(shot, path("high.jpg"), 100).ok());

    QImageReader reader(QString::fromStdString(path("high.jpg")));
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage image = reader.read();
    ASSERT_EQ(image.size(), QSize(screenWidth, screenHeight));
    const QRgb inBox = image.pixel(boxX + boxWidth / 2, boxY + boxHeight / 2);
    EXPECT_NEAR(qRed(inBox), 0xFF, 8);
    EXPECT_NEAR(qGreen(inBox), 0x80, 8);
    EXPECT_NEAR(qBlue(inBox), 0x00, 8);
    EXPECT_LT(QFileInfo(QString::fromStdString(path("low.jpg"))).size(),
              QFileInfo(QString::fromStdString(path("high.jpg"))).size());
}

// Files are written over rather than truncated first: nothing of a larger old file may remain.
TEST_F(X11ScreenServiceTest, RewrittenFileHoldsOnlyTheNewPicture) {
    const std::string target = path("code10.bmp");
    const QString name = QString::fromStdString(target);
    ASSERT_TRUE(
        screen_.writeBitmapFile(screen_.capture(0, 0, screenWidth, screenHeight), target).ok());
    const qint64 fullSize = QFileInfo(name).size();

    ASSERT_TRUE(screen_.writeBitmapFile(screen_.capture(boxX, boxY, 5, 5), target).ok());
    EXPECT_LT(QFileInfo(name).size(), fullSize / 100);
    const QImage small(name);
    ASSERT_EQ(small.size(), QSize(5, 5));
    EXPECT_EQ(small.pixel(4, 4) & 0xFFFFFFU, boxColour);

    ASSERT_TRUE(screen_.writeJpegFile(screen_.capture(0, 0, 16, 16), target, 90).ok());
    EXPECT_EQ(QImageReader(name).format(), "jpeg");
    EXPECT_EQ(QImage(name).size(), QSize(16, 16));
}

TEST_F(X11ScreenServiceTest, UnwritableTargetOrMissingPictureFails) {
    const Bitmap shot = screen_.capture(0, 0, 8, 8);
    const std::string targets[] = {path("missing-folder/shot.bmp"),
                                   directory_.path().toStdString()};
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(screen_.writeBitmapFile(shot, target).ok());
        EXPECT_FALSE(screen_.writeJpegFile(shot, target, 90).ok());
    }
    EXPECT_FALSE(screen_.writeBitmapFile(Bitmap{}, path("empty.bmp")).ok());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path("empty.bmp"))));
}

}  // namespace
}  // namespace pontrel
