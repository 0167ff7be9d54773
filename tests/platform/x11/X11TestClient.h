#pragma once

#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>

namespace pontrel::test {

// An X client of the tests on $DISPLAY: it plays the user through the server's own slave
// devices ("Xvfb keyboard", "Xvfb mouse", which count as physical), plays another program
// through core XTest, and owns a focused window that records the keys it receives.
class X11TestClient {
public:
    X11TestClient();
    ~X11TestClient();
    X11TestClient(const X11TestClient&) = delete;
    X11TestClient& operator=(const X11TestClient&) = delete;

    Display* display() const { return display_; }
    unsigned keycode(KeySym sym) const;
    int deviceId(const std::string& name) const;

    void xtestKey(unsigned keycode, bool press);
    void xtestTap(unsigned keycode);
    void xtestMove(int dx, int dy);
    void deviceKey(unsigned keycode, bool press);
    void deviceTap(unsigned keycode);
    void deviceMove(int dx, int dy);
    void setDeviceEnabled(int deviceId, bool enabled);

    void pointer(int& x, int& y) const;
    bool keyDown(unsigned keycode) const;  // as the master keyboard sees it

    // Maps a focused window that covers the top left of the screen.
    void openReceiver();
    // The keycodes of the key presses the receiver got within `waitMs`.
    std::vector<unsigned> receivedPresses(int waitMs = 150);

private:
    Display* display_ = nullptr;
    XDevice* keyboard_ = nullptr;
    XDevice* mouse_ = nullptr;
    Window receiver_ = 0;
};

// Lets events that were sent reach their listeners.
void settle(int ms = 60);

}  // namespace pontrel::test
