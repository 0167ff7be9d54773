#pragma once

#include <sys/types.h>
#include <string>

namespace pontrel::test {

// A private X server for one test program: Xvfb on a free display number, told to us through
// -displayfd, with its own keymap and no TCP. DISPLAY points to it while it lives, so nothing a
// test does can reach the desktop the tests were started from.
class XvfbServer {
public:
    explicit XvfbServer(int width = 1920, int height = 1080);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N"
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace pontrel::test
