#include <QImage>
#include <QImageReader>

#include "e2e/E2eTest.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::e2e {
namespace {

class ScreenTest : public E2eTest {};

TEST_F(ScreenTest, ScreenshotsAreValidBmpAndJpegFilesOfTheScreenSize) {
    PontrelApp app = playMacro(
        {basicSettings(50), "code:|009|pfad:|bild.bmp|", "code:|009|pfad:|bild.jpg <90%>|"});
    ASSERT_NE(app.window(), 0U) << app.log();

    const struct {
        const char* file;
        const char* format;
    } shots[] = {{"bild.bmp", "bmp"}, {"bild.jpg", "jpeg"}};
    for (const auto& shot : shots) {
        const QString path = QString::fromStdString((desktop.folder() / shot.file).string());
        QImage image;
        QByteArray format;
        waitUntil(
            [&] {
                QImageReader reader(path);
                format = reader.format();
                image = reader.read();
                return !image.isNull();
            },
            10000, 50);
        ASSERT_FALSE(image.isNull()) << shot.file << " missing or unreadable";
        EXPECT_EQ(format, shot.format) << shot.file;
        EXPECT_EQ(image.size(), QSize(1920, 1080)) << shot.file;
    }
}

TEST_F(ScreenTest, PixelWatchGoesOnWhenAnotherClientChangesThePixel) {
    // Colours without the bytes 0x0A, 0x0D and 0x2C, which end the field the watch compares.
    XlibReceiver watched(Rect{700, 400, 100, 100}, 0x204080);
    const Rect area = desktop.clientRect(watched.window());
    const Point pixel{area.x + 40, area.y + 40};
    const Point afterWatch{77, 88};
    PontrelApp app = playMacro({basicSettings(50),
                                "code:|010|xpos:|" + std::to_string(pixel.x) + "|ypos:|" +
                                    std::to_string(pixel.y) + "|break:|0|",
                                moveRecord(afterWatch)});
    ASSERT_NE(app.window(), 0U) << app.log();

    pause(1500);
    ASSERT_NE(desktop.pointer(), afterWatch) << "the watch ended while the pixel stayed the same";
    desktop.paint(watched.window(), 0xE0C060);
    EXPECT_TRUE(waitUntil([&] { return desktop.pointer() == afterWatch; }, 3000))
        << "the macro did not go on after the pixel changed; pointer at "
        << pointText(desktop.pointer());
}

}  // namespace
}  // namespace pontrel::e2e
