#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "support/display/XvfbServer.h"

// Both programs, started bare on a private X server without a window manager: the window must
// come up at its design size and closing it must end the process cleanly.

namespace pontrel {
namespace {

using namespace std::chrono_literals;

struct Started {
    pid_t pid = -1;
    int output = -1;  // the read end of its stdout and stderr
};

Started start(const std::string& program, const std::filesystem::path& folder, bool withDisplay,
              const char* argument = nullptr) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        if (chdir(folder.c_str()) != 0) {
            _exit(126);
        }
        if (!withDisplay) {
            unsetenv("DISPLAY");
        }
        execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    return {pid, pipeEnds[0]};
}

std::optional<int> waitExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
}

std::string readAll(int fd) {
    std::string text;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

std::string windowName(Display* display, Window window) {
    XTextProperty property{};
    std::string name;
    if (XGetWMName(display, window, &property) != 0 && property.value != nullptr) {
        name.assign(reinterpret_cast<const char*>(property.value), property.nitems);
        XFree(property.value);
    }
    return name;
}

// A mapped top-level window with this title (without a window manager they are the root's
// children).
Window findWindow(Display* display, const std::string& title, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && found == 0; ++i) {
                XWindowAttributes attributes{};
                if (XGetWindowAttributes(display, children[i], &attributes) &&
                    attributes.map_state == IsViewable &&
                    windowName(display, children[i]) == title) {
                    found = children[i];
                }
            }
            XFree(children);
        }
        if (found != 0) {
            return found;
        }
        std::this_thread::sleep_for(50ms);
    }
    return 0;
}

void askToClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

class ProgramCloseTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        folder =
            std::filesystem::temp_directory_path() / ("pontrel-close-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        if (child.pid > 0 && waitpid(child.pid, nullptr, WNOHANG) == 0) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, nullptr, 0);
        }
        if (child.output >= 0) {
            close(child.output);
        }
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    Started child;
};

TEST_P(ProgramCloseTest, WindowOpensAtItsDesignSizeAndClosingEndsTheProgram) {
    test::XvfbServer server(1280, 1024);
    Display* display = XOpenDisplay(server.display().c_str());
    ASSERT_NE(display, nullptr);
    child = start(GetParam(), folder, true);
    ASSERT_GT(child.pid, 0);

    const Window window = findWindow(display, "Pontrel", 15s);
    ASSERT_NE(window, 0U) << "no window titled Pontrel appeared";
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.width, 4575 / 15);
    EXPECT_EQ(attributes.height, 7170 / 15);

    askToClose(display, window);
    const std::optional<int> code = waitExit(child.pid, 5s);
    XCloseDisplay(display);
    ASSERT_TRUE(code.has_value()) << "still running after the window was closed";
    EXPECT_EQ(*code, 0) << readAll(child.output);
}

TEST_P(ProgramCloseTest, WithoutAnXDisplayItSaysSoAndFails) {
    child = start(GetParam(), folder, false);
    ASSERT_GT(child.pid, 0);
    const std::optional<int> code = waitExit(child.pid, 10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1);
    EXPECT_NE(readAll(child.output).find("X11-Anzeige"), std::string::npos);
}

TEST_P(ProgramCloseTest, DiagnoseNamesTheX11BackendOfEveryServiceWithoutAWindow) {
    const test::XvfbServer server;
    child = start(GetParam(), folder, true, "--diagnose");
    ASSERT_GT(child.pid, 0);
    const std::optional<int> code = waitExit(child.pid, 10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    const std::string output = readAll(child.output);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 9) << output;
    EXPECT_NE(output.find("Tippen, Tasten und Maus: X11 (XTest)\n"), std::string::npos) << output;
    EXPECT_EQ(output.find("nicht möglich"), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ProgramCloseTest,
                         ::testing::Values(PONTREL_PROGRAM, PONTREL1_PROGRAM));

}  // namespace
}  // namespace pontrel
