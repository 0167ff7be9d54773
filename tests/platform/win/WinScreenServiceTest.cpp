#include <gtest/gtest.h>

#include <cstdint>

#include "WinTestSupport.h"
#include "platform/win/WinScreenService.h"

namespace pontrel::test {
namespace {

std::uint32_t littleEndian(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// Width and height from the JPEG's start-of-frame segment.
std::pair<int, int> jpegSize(const std::string& bytes) {
    std::size_t at = 2;
    while (at + 9 < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        const auto length =
            static_cast<std::size_t>((static_cast<unsigned char>(bytes[at + 2]) << 8) |
                                     static_cast<unsigned char>(bytes[at + 3]));
        if (marker >= 0xC0 && marker <= 0xC2) {
            const auto big = [&](std::size_t i) {
                return (static_cast<unsigned char>(bytes[i]) << 8) |
                       static_cast<unsigned char>(bytes[i + 1]);
            };
            return {big(at + 7), big(at + 5)};
        }
        at += 2 + length;
    }
    return {0, 0};
}

// A plain window of one colour on the screen.
class ColourWindow {
public:
    ColourWindow(int x, int y, COLORREF colour) : brush_(CreateSolidBrush(colour)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = brush_;
        windowClass.lpszClassName = L"PontrelColourTest";
        RegisterClassW(&windowClass);
        window_ =
            CreateWindowExW(WS_EX_TOPMOST, L"PontrelColourTest", L"", WS_POPUP | WS_VISIBLE, x, y,
                            40, 30, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(window_);
        pumpUntil([] { return false; }, std::chrono::milliseconds(300));
    }
    ~ColourWindow() {
        DestroyWindow(window_);
        UnregisterClassW(L"PontrelColourTest", GetModuleHandleW(nullptr));
        DeleteObject(brush_);
    }
    ColourWindow(const ColourWindow&) = delete;
    ColourWindow& operator=(const ColourWindow&) = delete;

private:
    HBRUSH brush_;
    HWND window_ = nullptr;
};

struct WinScreenServiceTest : ::testing::Test {
    WinScreenService screen;
    TempFolder folder;
};

TEST_F(WinScreenServiceTest, CapturesWhatIsOnTheScreenAndBlackBeyondItsEdges) {
    const ColourWindow red(100, 80, RGB(255, 0, 0));
    const Bitmap block = screen.capture(110, 90, 5, 5);
    ASSERT_EQ(block.width, 5);
    ASSERT_EQ(block.pixels.size(), 25u);
    EXPECT_EQ(block.pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(block.pixel(4, 4), 0xFF0000u);

    const ScreenSize size = screen.screenSize();
    const Bitmap corner = screen.capture(size.width - 2, size.height - 2, 4, 4);
    EXPECT_EQ(corner.pixel(3, 3), 0u);
    EXPECT_EQ(corner.pixel(2, 0), 0u);
    EXPECT_TRUE(screen.capture(0, 0, 0, 5).empty());
}

TEST_F(WinScreenServiceTest, WritesTheWholeScreenAsValidJpegAndBitmapFiles) {
    const ColourWindow green(10, 10, RGB(0, 200, 0));
    const ScreenSize size = screen.screenSize();
    ASSERT_GT(size.width, 0);
    const Bitmap whole = screen.capture(0, 0, size.width, size.height);

    const std::string jpeg = folder.file("bild.jpg");
    ASSERT_TRUE(screen.writeJpegFile(whole, jpeg, 90).ok());
    const std::string jpegBytes = fileBytes(jpeg);
    ASSERT_GT(jpegBytes.size(), 100u);
    EXPECT_EQ(jpegBytes.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(jpegBytes.substr(jpegBytes.size() - 2), "\xFF\xD9");
    EXPECT_EQ(jpegSize(jpegBytes), std::make_pair(size.width, size.height));

    const std::string bmp = folder.file("code10.bmp");
    ASSERT_TRUE(screen.writeBitmapFile(whole, bmp).ok());
    const std::string bmpBytes = fileBytes(bmp);
    ASSERT_GT(bmpBytes.size(), 54u);
    EXPECT_EQ(bmpBytes.substr(0, 2), "BM");
    EXPECT_EQ(littleEndian(bmpBytes, 2, 4), bmpBytes.size());
    EXPECT_EQ(static_cast<int>(littleEndian(bmpBytes, 18, 4)), size.width);
    EXPECT_EQ(static_cast<int>(littleEndian(bmpBytes, 22, 4)), size.height);

    // A lower quality gives a smaller file: the quality reaches the encoder. (Wine's encoder
    // takes no quality.)
    const std::string rough = folder.file("grob.jpg");
    ASSERT_TRUE(screen.writeJpegFile(whole, rough, 10).ok());
    if (!runningUnderWine()) {
        EXPECT_LT(fileBytes(rough).size(), jpegBytes.size());
    }
}

TEST_F(WinScreenServiceTest, WritingToAMissingFolderOrAnEmptyPictureFails) {
    const Bitmap block = screen.capture(0, 0, 5, 5);
    EXPECT_FALSE(screen.writeBitmapFile(block, folder.file("fehlt\\a.bmp")).ok());
    EXPECT_FALSE(screen.writeJpegFile(block, folder.file("fehlt\\a.jpg"), 80).ok());
    EXPECT_FALSE(screen.writeBitmapFile(Bitmap{}, folder.file("leer.bmp")).ok());
}

}  // namespace
}  // namespace pontrel::test
