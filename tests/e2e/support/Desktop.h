#pragma once

#include <sys/types.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <X11/Xlib.h>

#include "e2e/support/ChildProcess.h"
#include "support/display/XvfbServer.h"

namespace pontrel::e2e {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A private desktop for one test: Xvfb (1920x1080, -noreset), a keyboard layout, the openbox
// window manager and a temporary folder that programs started from here use as their current
// directory. Child programs see only this display and no message bus of the machine.
class Desktop {
public:
    explicit Desktop(const std::string& layout = "de");
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    Display* x() const { return display_; }
    const std::filesystem::path& folder() const { return folder_; }
    std::string logFile(const std::string& name) const;

    void setLayout(const std::string& layout);
    // Starts a program with this desktop's folder as its current directory.
    std::unique_ptr<ChildProcess> start(const std::vector<std::string>& argv,
                                        const std::string& logName) const;

    // The mapped top-level client window of a process (by _NET_WM_PID), 0 after timeoutMs.
    Window windowOf(pid_t pid, int timeoutMs = 10000) const;
    std::string title(Window window) const;
    // The client area in root coordinates.
    Rect clientRect(Window window) const;
    // Activates a window through the window manager and waits until it has the focus.
    bool focus(Window window) const;
    Window focused() const;

    Point pointer() const;
    // Moves the pointer there and clicks, as xdotool does.
    void click(Point at, int button = 1) const;
    // A hot key as a person presses it: down, holdMs, up.
    void pressKey(const std::string& keyName, int holdMs = 100) const;
    // Holds the key until done() holds or timeoutMs passed, as a person who waits for the program
    // to react: a loaded machine may not poll the keys within the usual 100 ms.
    bool pressKeyUntil(const std::string& keyName, const std::function<bool()>& done,
                       int timeoutMs) const;
    std::string clipboard() const;
    // A key of the "Xvfb keyboard" slave, which stands for a physical keyboard.
    void physicalKeyTap(unsigned long keysym) const;
    // Repaints a whole window in one colour (as its background), from this desktop's client.
    void paint(Window window, unsigned long colour) const;

private:
    test::XvfbServer server_;
    std::filesystem::path folder_;
    Display* display_ = nullptr;
    std::unique_ptr<ChildProcess> windowManager_;
};

}  // namespace pontrel::e2e
