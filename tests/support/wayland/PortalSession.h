#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QVariantList>

namespace pontrel::test {

class ChildProcess;
class PrivateBus;

// The desktop portal on a private bus: the real frontend (xdg-desktop-portal) with a fake
// backend (python3-dbusmock, fake_portal_backend.py) that approves every request, logs every
// call and presses shortcuts on request. While it lives, this process's environment names the
// private bus and private configuration, data, state and runtime folders, and no display; the
// variables are taken back when it goes. One per test suite: it takes a few seconds to start.
class PortalSession {
public:
    struct Monitor {
        unsigned node;
        int x, y, width, height;
    };

    // PipeWire (with wireplumber) runs in the private runtime folder too, for screen-cast
    // streams of the test's own.
    enum class Video { None, PipeWire };

    explicit PortalSession(const std::vector<Monitor>& monitors, Video video = Video::None);
    ~PortalSession();
    PortalSession(const PortalSession&) = delete;
    PortalSession& operator=(const PortalSession&) = delete;

    // Empty when the session runs; else why not.
    const std::string& failure() const { return failure_; }
    const std::string& folder() const { return folder_; }
    // The picture file the fake Screenshot names.
    std::string screenshotFile() const { return folder_ + "/shot.png"; }

    // The calls of `method` the backend took, in order, each as its arguments after the request
    // and session handles ("97 1").
    std::vector<std::string> calls(const std::string& method) const;
    // The user presses (down) or releases the shortcut with this id.
    void press(const std::string& shortcutId, bool down);
    // What the user answers to the next screenshots: 0 approves, 1 declines.
    void answerScreenshots(unsigned answer);
    // The desktop closes the RemoteDesktop and ScreenCast sessions, as when the user stops sharing.
    void closeSessions();
    // The streams the next sessions' Start gives.
    void castMonitors(const std::vector<Monitor>& monitors);

private:
    void callFake(const std::string& method, const QVariantList& arguments);

    std::string failure_;
    std::string folder_;
    std::vector<std::pair<std::string, std::string>> savedVariables_;
    std::unique_ptr<PrivateBus> bus_;
    std::vector<std::unique_ptr<ChildProcess>> video_;
    std::unique_ptr<ChildProcess> backend_;
    std::unique_ptr<ChildProcess> frontend_;
};

}  // namespace pontrel::test
