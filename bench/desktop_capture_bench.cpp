// Screen capture on GNOME and KDE Plasma, in a private headless mutter or kwin_wayland with a
// native Wayland window: the whole screen captured and written as BMP, a first capture of a
// watched block (on GNOME a new stream each), a poll of a watched block, and the time from the
// window's repaint to the watch seeing it. Usage: desktop_capture_bench gnome|kde

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "BenchFigures.h"
#include "platform/gnome/GnomeScreenCapture.h"
#include "platform/kde/KWinScreenCapture.h"
#include "platform/qt/QtPictureWriter.h"
#include "support/wayland/KWinSession.h"
#include "support/wayland/MutterSession.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using pontrel::bench::figures;
using pontrel::bench::millisecondsBetween;

constexpr int runs = 20;
constexpr int watchedBlock = 5;
constexpr std::uint32_t firstColour = 0x3366CC;
constexpr std::uint32_t secondColour = 0xCC6633;

void print(const char* what, const pontrel::bench::Figures& f) {
    std::printf("%-34s median %8.3f ms  p99 %8.3f ms  (%zu runs)\n", what, f.median, f.p99,
                f.count);
}

// Measures `screen` on the desktop of `session`, described by `how`.
template <typename Session>
int measure(Session& session, pontrel::ScreenService& screen, const char* how) {
    const std::string clicks = session.folder() + "/clicks.txt";
    auto window = session.start({PONTREL_TEST_WINDOW, clicks, "#3366cc", "#cc6633"},
                                {{"QT_QPA_PLATFORM", "wayland"}}, "window");
    const pontrel::ScreenSize size = screen.screenSize();
    // The desktop places the window; the bench watches the first pixel of its colour.
    int x = -1;
    int y = -1;
    pontrel::test::eventually(
        [&] {
            const pontrel::Bitmap full = screen.capture(0, 0, size.width, size.height);
            for (std::size_t i = 0; i < full.pixels.size() && x < 0; ++i) {
                if (full.pixels[i] == firstColour) {
                    x = static_cast<int>(i % static_cast<std::size_t>(full.width)) + 20;
                    y = static_cast<int>(i / static_cast<std::size_t>(full.width)) + 20;
                }
            }
            return x >= 0;
        },
        20s);
    if (x < 0) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }

    bool ok = true;
    std::vector<double> whole;
    std::vector<double> toBmp;
    std::vector<double> firstWatch;
    std::vector<double> poll;
    const std::string bmp = session.folder() + "/shot.bmp";
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        ok &= !screen.capture(0, 0, size.width, size.height).empty();
        whole.push_back(millisecondsBetween(start, Clock::now()));
        start = Clock::now();
        ok &= screen.writeBitmapFile(screen.capture(0, 0, size.width, size.height), bmp).ok();
        toBmp.push_back(millisecondsBetween(start, Clock::now()));
        start = Clock::now();
        // Another block each time: a new stream.
        ok &= !screen.capture(x + run, y, watchedBlock, watchedBlock).empty();
        firstWatch.push_back(millisecondsBetween(start, Clock::now()));
        start = Clock::now();
        ok &= !screen.capture(x + run, y, watchedBlock, watchedBlock).empty();
        poll.push_back(millisecondsBetween(start, Clock::now()));
    }
    std::printf("%dx%d, %s\n", size.width, size.height, how);
    print("whole screen alone", figures(whole));
    print("whole screen + BMP", figures(toBmp));
    print("watched block, first capture", figures(firstWatch));
    print("watched block, poll", figures(poll));

    // One repaint: the window turns once its file appears (it looks every 5 ms).
    const auto watched = [&] { return screen.capture(x, y, watchedBlock, watchedBlock); };
    watched();
    std::ofstream{clicks + ".turn"};
    const auto start = Clock::now();
    const bool seen = pontrel::test::eventually(
        [&] {
            const pontrel::Bitmap block = watched();
            return !block.empty() && block.pixel(0, 0) == secondColour;
        },
        5s);
    std::printf("%-34s %8.1f ms%s\n", "repaint seen by the watch",
                millisecondsBetween(start, Clock::now()), seen ? "" : " (NOT SEEN)");
    if (!ok) {
        std::fprintf(stderr, "a capture or a write failed\n");
    }
    return seen && ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::string desktop = argc > 1 ? argv[1] : "";
    pontrel::QtPictureWriter pictures;
    if (desktop == "gnome") {
        pontrel::test::MutterSession session;
        pontrel::GnomeScreenCapture screen(
            pictures, [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
        return measure(session, screen, "mutter headless, PipeWire shared memory");
    }
    if (desktop == "kde") {
        pontrel::test::KWinSession session;
        pontrel::KWinScreenCapture screen(pictures);
        return measure(session, screen, "kwin_wayland virtual, KWin's screenshot service");
    }
    std::fprintf(stderr, "usage: %s gnome|kde\n", argv[0]);
    return 2;
}
