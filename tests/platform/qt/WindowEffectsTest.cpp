// Window effects as the X server shows them: opacity on the composited root image, the topmost
// hint in the state a window manager keeps for the window.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <bit>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "platform/qt/QtTestApp.h"
#include "platform/qt/QtWindowService.h"

// Xlib last: its macros (Status, None, Bool) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pontrel {
namespace {

using test::processEventsUntil;
using test::qtTestApp;

constexpr int settleMs = 3000;

// The X display the Qt application talks to: the test's private Xvfb, never the caller's.
std::string qtDisplayName() {
    auto* x11 = qtTestApp().nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) {
        return {};
    }
    return DisplayString(x11->display());
}

// A helper program (compositor, window manager) on the test's display, ended with the test.
class DisplayChild {
public:
    DisplayChild() = default;
    DisplayChild(const DisplayChild&) = delete;
    DisplayChild& operator=(const DisplayChild&) = delete;
    ~DisplayChild() { stop(); }

    // False when the program cannot be run (not installed); errno of the failed exec in error().
    bool start(const std::vector<std::string>& command, const std::string& display,
               const std::string& home) {
        std::vector<std::string> environment{"DISPLAY=" + display, "HOME=" + home,
                                             "XDG_CONFIG_HOME=" + home};
        if (const char* path = getenv("PATH")) {
            environment.push_back(std::string("PATH=") + path);
        }
        std::vector<char*> argv;
        for (const std::string& word : command) {
            argv.push_back(const_cast<char*>(word.c_str()));
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);

        // The exec's errno comes back through a pipe that closes by itself when the exec works.
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            error_ = errno;
            return false;
        }
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            execvpe(argv[0], argv.data(), envp.data());
            const int failed = errno;
            (void)!write(fds[1], &failed, sizeof failed);
            _exit(127);
        }
        close(fds[1]);
        int failed = 0;
        const bool execFailed = pid_ > 0 && read(fds[0], &failed, sizeof failed) == sizeof failed;
        close(fds[0]);
        if (pid_ < 0 || execFailed) {
            error_ = pid_ < 0 ? errno : failed;
            stop();
            return false;
        }
        return true;
    }

    bool running() { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

    int error() const { return error_; }

private:
    pid_t pid_ = -1;
    int error_ = 0;
};

// Our own Xlib connection to the private display, to look at what Qt and the helpers did.
class WindowEffectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        displayName = qtDisplayName();
        ASSERT_FALSE(displayName.empty()) << "Qt does not run on X11";
        x = XOpenDisplay(displayName.c_str());
        ASSERT_NE(x, nullptr) << displayName;
        root = DefaultRootWindow(x);
        ASSERT_TRUE(home.isValid());
    }

    void TearDown() override {
        helper.stop();
        if (x != nullptr) {
            XCloseDisplay(x);
        }
    }

    // Runs a helper and waits until it owns the selection that announces it.
    void startHelper(const std::vector<std::string>& command, const char* selection) {
        if (!helper.start(command, displayName, home.path().toStdString())) {
            GTEST_SKIP() << command[0] << " cannot run: " << strerror(helper.error());
        }
        const Atom announced = XInternAtom(x, selection, 0);
        const bool owned = processEventsUntil(
            [&] { return !helper.running() || XGetSelectionOwner(x, announced) != 0; }, 5000);
        ASSERT_TRUE(owned && helper.running()) << command[0] << " did not take " << selection;
    }

    // The window's top left corner on the root window, as the X server has it.
    QPoint rootPosition(const QWidget& window) {
        int rootX = 0;
        int rootY = 0;
        Window child = 0;
        XTranslateCoordinates(x, static_cast<Window>(window.winId()), root, 0, 0, &rootX, &rootY,
                              &child);
        return {rootX, rootY};
    }

    QApplication& app = qtTestApp();
    std::string displayName;
    Display* x = nullptr;
    Window root = 0;
    QTemporaryDir home;
    DisplayChild helper;
};

// ---- Opacity -------------------------------------------------------------------------------

struct Rgb {
    int red;
    int green;
    int blue;
};

class WindowOpacityTest : public WindowEffectsTest {
protected:
    void SetUp() override {
        WindowEffectsTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        // A white root: its background pixmap is painted by the server without a compositor, and
        // by the compositor because _XSETROOT_ID names it (else the compositor fills it grey).
        const int screen = DefaultScreen(x);
        whitePixmap = XCreatePixmap(x, root, 8, 8, static_cast<unsigned>(DefaultDepth(x, screen)));
        GC gc = XCreateGC(x, whitePixmap, 0, nullptr);
        XSetForeground(x, gc, WhitePixel(x, screen));
        XFillRectangle(x, whitePixmap, gc, 0, 0, 8, 8);
        XFreeGC(x, gc);
        XSetWindowBackgroundPixmap(x, root, whitePixmap);
        XChangeProperty(x, root, XInternAtom(x, "_XSETROOT_ID", 0), XA_PIXMAP, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&whitePixmap), 1);
        XClearWindow(x, root);
        XSync(x, 0);

        QPalette black = window.palette();
        black.setColor(QPalette::Window, Qt::black);
        window.setPalette(black);
        window.setAutoFillBackground(true);
        window.setFixedSize(200, 150);
        window.move(300, 200);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        service.attach(&window);
        const QPoint corner = rootPosition(window);
        inside = corner + QPoint(100, 75);
        outside = corner + QPoint(-40, 75);
    }

    void TearDown() override {
        window.hide();
        helper.stop();
        if (x != nullptr && whitePixmap != 0) {
            // The root gets its default background back for the tests after this one.
            XDeleteProperty(x, root, XInternAtom(x, "_XSETROOT_ID", 0));
            XSetWindowBackgroundPixmap(x, root, 0);
            XClearWindow(x, root);
            XFreePixmap(x, whitePixmap);
            XSync(x, 0);
        }
        WindowEffectsTest::TearDown();
    }

    Rgb pixel(QPoint at) {
        XImage* image = XGetImage(x, root, at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) {
            return {-1, -1, -1};
        }
        const unsigned long value = XGetPixel(image, 0, 0);
        auto channel = [value](unsigned long mask) {
            const unsigned long bits = (value & mask) >> std::countr_zero(mask);
            const unsigned long most = mask >> std::countr_zero(mask);
            return static_cast<int>(bits * 255 / most);
        };
        const Rgb rgb{channel(image->red_mask), channel(image->green_mask),
                      channel(image->blue_mask)};
        XDestroyImage(image);
        return rgb;
    }

    static bool near(Rgb rgb, int level, int tolerance = 12) {
        return std::abs(rgb.red - level) <= tolerance && std::abs(rgb.green - level) <= tolerance &&
               std::abs(rgb.blue - level) <= tolerance;
    }

    // Waits until the pixel is grey near level; the compositor redraws in its own time.
    ::testing::AssertionResult becomes(QPoint at, int level) {
        QElapsedTimer clock;
        clock.start();
        for (Rgb seen = pixel(at); !near(seen, level); seen = pixel(at)) {
            if (clock.elapsed() > settleMs) {
                return ::testing::AssertionFailure()
                       << "pixel " << show(seen) << ", wanted about " << level;
            }
            QTest::qWait(20);
        }
        return ::testing::AssertionSuccess();
    }

    static std::string show(Rgb rgb) {
        return std::to_string(rgb.red) + "," + std::to_string(rgb.green) + "," +
               std::to_string(rgb.blue);
    }

    QWidget window;
    QtWindowService service;
    Pixmap whitePixmap = 0;
    QPoint inside;
    QPoint outside;
};

TEST_F(WindowOpacityTest, WithoutACompositorTheWindowStaysOpaqueAndNothingFails) {
    ASSERT_TRUE(becomes(inside, 0));
    ASSERT_TRUE(becomes(outside, 255));

    EXPECT_TRUE(service.setOpacity(81).ok());
    QTest::qWait(300);
    EXPECT_TRUE(near(pixel(inside), 0)) << show(pixel(inside));
}

TEST_F(WindowOpacityTest, TheCompositorBlendsTheWindowWithTheRootBehindIt) {
    startHelper({"xcompmgr"}, "_NET_WM_CM_S0");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(becomes(outside, 255)) << "composited root";
    ASSERT_TRUE(becomes(inside, 0)) << "opaque window";

    ASSERT_TRUE(service.setOpacity(81).ok());
    const int blend = static_cast<int>(255 * (1 - 81 / 255.0) + 0.5);  // 174: white shows through
    EXPECT_TRUE(becomes(inside, blend));

    ASSERT_TRUE(service.setOpacity(254).ok());
    EXPECT_TRUE(becomes(inside, 0));
    EXPECT_TRUE(near(pixel(outside), 255)) << show(pixel(outside));
}

// ---- Topmost -------------------------------------------------------------------------------

class WindowTopmostTest : public WindowEffectsTest {
protected:
    void TearDown() override {
        window.reset();
        WindowEffectsTest::TearDown();
    }

    bool stateHasAbove() {
        const Atom state = XInternAtom(x, "_NET_WM_STATE", 0);
        const Atom above = XInternAtom(x, "_NET_WM_STATE_ABOVE", 0);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(x, static_cast<Window>(window->winId()), state, 0, 64, 0, XA_ATOM,
                               &type, &format, &count, &remaining, &data) != Success) {
            return false;
        }
        bool found = false;
        if (data != nullptr && type == XA_ATOM && format == 32) {
            const auto* atoms = reinterpret_cast<const Atom*>(data);
            for (unsigned long i = 0; i < count; ++i) {
                found = found || atoms[i] == above;
            }
        }
        XFree(data);
        return found;
    }

    // Openbox can leave a map request it read while starting unanswered until some later event
    // wakes it; property changes on the root it watches are such events.
    bool managed() {
        const Atom wake = XInternAtom(x, "_TEST_WAKE", 0);
        const bool exposed = processEventsUntil(
            [&] {
                XChangeProperty(x, root, wake, XA_CARDINAL, 32, PropModeReplace, nullptr, 0);
                XFlush(x);
                return window->windowHandle()->isExposed();
            },
            5000);
        XDeleteProperty(x, root, wake);
        XFlush(x);
        return exposed;
    }

    std::optional<QWidget> window;
    QtWindowService service;
};

TEST_F(WindowTopmostTest, TheWindowManagerKeepsTheWindowAboveAndLeavesItWhereItIs) {
    startHelper({"openbox", "--sm-disable"}, "WM_S0");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    window.emplace();
    window->setFixedSize(240, 180);
    window->move(320, 240);
    window->show();
    ASSERT_TRUE(managed());
    service.attach(&*window);
    // Let the manager finish framing and placing the window before taking its position.
    QTest::qWait(300);
    ASSERT_FALSE(stateHasAbove());
    const QPoint placed = rootPosition(*window);
    const QPoint framePlaced = window->pos();

    ASSERT_TRUE(service.setTopmost(true).ok());
    EXPECT_TRUE(processEventsUntil([&] { return stateHasAbove(); }, settleMs));
    EXPECT_EQ(rootPosition(*window), placed);
    EXPECT_EQ(window->pos(), framePlaced);
    EXPECT_TRUE(window->isVisible());

    ASSERT_TRUE(service.setTopmost(false).ok());
    EXPECT_TRUE(processEventsUntil([&] { return !stateHasAbove(); }, settleMs));
    EXPECT_EQ(rootPosition(*window), placed);
    EXPECT_EQ(window->pos(), framePlaced);
}

}  // namespace
}  // namespace pontrel
