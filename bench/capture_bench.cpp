// Times a capture of the whole screen plus writing it as BMP and as JPEG (quality 90) on a
// private 1920x1080 Xvfb, and compares with ImageMagick's `import -window root` writing the same
// formats. Prints median and 99th percentile in milliseconds.

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/QtPictureWriter.h"
#include "platform/x11/X11ScreenService.h"
#include "support/display/XvfbServer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Status

namespace {

constexpr int width = 1920;
constexpr int height = 1080;
constexpr int runs = 50;
constexpr int importRuns = 10;

struct Figures {
    double median;
    double p99;
};

Figures time(int count, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    const auto p99 = static_cast<std::size_t>(static_cast<double>(ms.size() - 1) * 0.99 + 0.5);
    return {ms[ms.size() / 2], ms[p99]};
}

// Something like a desktop: gradients with a little noise, so JPEG has work to do.
void paintScreen() {
    Display* display = XOpenDisplay(nullptr);
    const int screen = DefaultScreen(display);
    XImage* image = XCreateImage(display, DefaultVisual(display, screen),
                                 static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, 0,
                                 nullptr, width, height, 32, 0);
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) *
                                                 static_cast<std::size_t>(height)));
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245U + 12345U;
            const unsigned grain = (noise >> 16) & 0x1FU;
            const unsigned red = static_cast<unsigned>(x * 255 / width);
            const unsigned green = static_cast<unsigned>(y * 255 / height);
            const unsigned blue = ((static_cast<unsigned>(x / 64 + y / 64) % 2) * 160U) + grain;
            XPutPixel(image, x, y, red << 16 | green << 8 | blue);
        }
    }
    XPutImage(display, DefaultRootWindow(display), DefaultGC(display, screen), image, 0, 0, 0, 0,
              width, height);
    XSync(display, False);
    XDestroyImage(image);
    XCloseDisplay(display);
}

void report(const char* what, Figures ours, Figures import) {
    std::printf(
        "%-22s median %7.2f ms  p99 %7.2f ms | import median %7.1f ms  p99 %7.1f ms | "
        "import/ours %.0fx\n",
        what, ours.median, ours.p99, import.median, import.p99, import.median / ours.median);
}

}  // namespace

int main() {
    pontrel::test::XvfbServer server(width, height);
    paintScreen();
    pontrel::QtPictureWriter pictures;
    pontrel::X11ScreenService screen(pictures);

    std::string folderTemplate =
        (std::filesystem::temp_directory_path() / "capture_bench.XXXXXX").string();
    const char* folderName = mkdtemp(folderTemplate.data());
    if (folderName == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder(folderName);
    const std::string bmp = (folder / "shot.bmp").string();
    const std::string jpg = (folder / "shot.jpg").string();

    bool ok = true;
    const Figures capture = time(runs, [&] { ok &= !screen.capture(0, 0, width, height).empty(); });
    const Figures toBmp = time(
        runs, [&] { ok &= screen.writeBitmapFile(screen.capture(0, 0, width, height), bmp).ok(); });
    const Figures toJpeg = time(runs, [&] {
        ok &= screen.writeJpegFile(screen.capture(0, 0, width, height), jpg, 90).ok();
    });

    const std::string importBmp = "import -window root BMP3:" + bmp;
    const std::string importJpeg = "import -window root -quality 90 " + jpg;
    const Figures viaImportBmp =
        time(importRuns, [&] { ok &= std::system(importBmp.c_str()) == 0; });
    const Figures viaImportJpeg =
        time(importRuns, [&] { ok &= std::system(importJpeg.c_str()) == 0; });
    std::filesystem::remove_all(folder);

    std::printf("%dx%d, %d runs (import: %d runs)\n", width, height, runs, importRuns);
    std::printf("%-22s median %7.2f ms  p99 %7.2f ms\n", "capture", capture.median, capture.p99);
    report("capture + BMP", toBmp, viaImportBmp);
    report("capture + JPEG q90", toJpeg, viaImportJpeg);
    if (!ok) {
        std::fprintf(stderr, "a capture or a write failed\n");
        return 1;
    }
    return 0;
}
