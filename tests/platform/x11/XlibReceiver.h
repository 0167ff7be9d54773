#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

typedef struct _XDisplay Display;
typedef unsigned long Window;

namespace pontrel::test {

// A plain Xlib window on a connection and thread of its own that records what arrives: typed
// text as an input context translates it (control characters included), keys without text as
// "<Keysym>", and buttons as "down1 @x,y" / "up1 @x,y".
class XlibReceiver {
public:
    // The window covers x, y, width, height of the root window.
    XlibReceiver(int x, int y, int width, int height);
    ~XlibReceiver();
    XlibReceiver(const XlibReceiver&) = delete;
    XlibReceiver& operator=(const XlibReceiver&) = delete;

    // Gives the window the keyboard focus.
    void focus();
    std::string text();
    std::string buttons();
    void clear();

private:
    void run();

    Display* display_ = nullptr;
    Window window_ = 0;
    void* inputMethod_ = nullptr;
    void* inputContext_ = nullptr;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::string text_;
    std::string buttons_;
    std::thread thread_;
};

}  // namespace pontrel::test
