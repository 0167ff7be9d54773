// Screen capture through the ScreenCast portal: the real portal frontend with a fake backend
// whose monitor is a PipeWire stream of the test's own, showing a known picture.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/portal/PortalBus.h"
#include "platform/portal/PortalScreenCapture.h"
#include "platform/portal/RemoteDesktopSession.h"
#include "platform/portal/RestoreToken.h"
#include "platform/portal/ScreenCastSession.h"
#include "support/CoreApplication.h"
#include "support/wayland/BackendTestSupport.h"
#include "support/wayland/PictureProducer.h"
#include "support/wayland/PortalSession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;

constexpr int monitorWidth = 64;
constexpr int monitorHeight = 48;

// Every pixel differs from its neighbours; `blue` sets the picture apart from another.
std::uint32_t shade(int x, int y, std::uint32_t blue) {
    return static_cast<std::uint32_t>(x * 4) << 16 | static_cast<std::uint32_t>(y * 4) << 8 | blue;
}

std::vector<std::uint32_t> picture(std::uint32_t blue) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < monitorHeight; ++y) {
        for (int x = 0; x < monitorWidth; ++x) {
            pixels.push_back(shade(x, y, blue));
        }
    }
    return pixels;
}

using test::NoPictureWriter;

class PortalScreenCastTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        test::ensureCoreApplication();
        session = new test::PortalSession({}, test::PortalSession::Video::PipeWire);
        if (session->failure().empty()) {
            producer = new test::PictureProducer(monitorWidth, monitorHeight, picture(0x11));
            session->castMonitors({{producer->node(), 0, 0, monitorWidth, monitorHeight}});
        }
    }
    static void TearDownTestSuite() {
        delete producer;
        producer = nullptr;
        delete session;
        session = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(session->failure(), "");
        ASSERT_NE(producer->node(), 0U);
    }

    PortalScreenCapture capture(CastSession& session) {
        return PortalScreenCapture(session, pictures_,
                                   [this](const std::string& line) { log_ += line + "\n"; });
    }

    static inline test::PortalSession* session = nullptr;
    static inline test::PictureProducer* producer = nullptr;
    PortalBus bus_;
    NoPictureWriter pictures_;
    std::string log_;
};

TEST_F(PortalScreenCastTest, CapturesShowTheMonitorAndTheApprovalIsKeptForTheNextStart) {
    {
        ScreenCastSession cast(bus_);
        PortalScreenCapture screen = capture(cast);
        EXPECT_EQ(
            screen.capture(2, 3, 2, 2),
            (Bitmap{2,
                    2,
                    {shade(2, 3, 0x11), shade(3, 3, 0x11), shade(2, 4, 0x11), shade(3, 4, 0x11)}}))
            << log_;
        // Beyond the monitor the picture is black.
        EXPECT_EQ(screen.capture(monitorWidth - 1, monitorHeight - 1, 2, 1),
                  (Bitmap{2, 1, {shade(monitorWidth - 1, monitorHeight - 1, 0x11), 0}}))
            << log_;
        EXPECT_EQ(screen.screenSize().width, monitorWidth);
    }
    EXPECT_FALSE(readRestoreToken(PortalGrant::ScreenCast).empty());
    // Started again, as after a restart: the token brings the desktop's remembered approval.
    ScreenCastSession castAgain(bus_);
    EXPECT_EQ(capture(castAgain).capture(0, 0, 1, 1), (Bitmap{1, 1, {shade(0, 0, 0x11)}})) << log_;
    const std::vector<std::string> selections = session->calls("SelectSources");
    ASSERT_EQ(selections.size(), 2U);
    EXPECT_NE(selections[0].find("\"persist_mode\": 2"), std::string::npos) << selections[0];
    EXPECT_EQ(selections[0].find("restore_data"), std::string::npos) << selections[0];
    EXPECT_NE(selections[1].find("pontrelfake"), std::string::npos) << selections[1];
}

TEST_F(PortalScreenCastTest, AWatchedPixelSeesThePictureChange) {
    ScreenCastSession cast(bus_);
    PortalScreenCapture screen = capture(cast);
    ASSERT_EQ(screen.capture(5, 6, 1, 1), (Bitmap{1, 1, {shade(5, 6, 0x11)}})) << log_;
    producer->show(picture(0x77));
    bool changed = false;
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (!changed && std::chrono::steady_clock::now() < end) {
        changed = screen.capture(5, 6, 1, 1) == Bitmap{1, 1, {shade(5, 6, 0x77)}};
        std::this_thread::sleep_for(10ms);
    }
    producer->show(picture(0x11));
    EXPECT_TRUE(changed) << log_;
}

TEST_F(PortalScreenCastTest, TheInputsRemoteDesktopSessionServesTheCaptureWithOneApproval) {
    const std::size_t startsBefore = session->calls("Start").size();
    RemoteDesktopSession remoteDesktop(bus_);
    PortalScreenCapture screen = capture(remoteDesktop);
    EXPECT_EQ(screen.capture(7, 8, 1, 1), (Bitmap{1, 1, {shade(7, 8, 0x11)}})) << log_;
    EXPECT_EQ(remoteDesktop.key(0x61, true), std::nullopt);
    EXPECT_EQ(session->calls("Start").size(), startsBefore + 1);
}

TEST_F(PortalScreenCastTest, ASessionTheDesktopClosedStartsAgainWithTheKeptApproval) {
    ScreenCastSession cast(bus_);
    PortalScreenCapture screen = capture(cast);
    ASSERT_EQ(screen.capture(1, 2, 1, 1), (Bitmap{1, 1, {shade(1, 2, 0x11)}})) << log_;
    const std::size_t startsBefore = session->calls("Start").size();
    session->closeSessions();
    // The desktop's Closed arrives a moment later; until then the old streams serve.
    Bitmap after;
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (session->calls("Start").size() == startsBefore &&
           std::chrono::steady_clock::now() < end) {
        after = screen.capture(1, 2, 1, 1);
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(session->calls("Start").size(), startsBefore + 1);
    EXPECT_EQ(after, (Bitmap{1, 1, {shade(1, 2, 0x11)}})) << log_;
    EXPECT_NE(session->calls("SelectSources").back().find("pontrelfake"), std::string::npos);
}

TEST_F(PortalScreenCastTest, AMonitorWithoutASizeTakesItsFramesSize) {
    session->castMonitors({{producer->node(), 0, 0, 0, 0}});
    ScreenCastSession cast(bus_);
    PortalScreenCapture screen = capture(cast);
    const Bitmap corner = screen.capture(monitorWidth - 1, monitorHeight - 1, 1, 1);
    session->castMonitors({{producer->node(), 0, 0, monitorWidth, monitorHeight}});
    EXPECT_EQ(corner, (Bitmap{1, 1, {shade(monitorWidth - 1, monitorHeight - 1, 0x11)}})) << log_;
}

TEST_F(PortalScreenCastTest, AMonitorWithoutPicturesGivesNoPictureAndIsLoggedOnce) {
    session->castMonitors({{producer->node() + 1000, 0, 0, monitorWidth, monitorHeight}});
    ScreenCastSession cast(bus_);
    PortalScreenCapture screen = capture(cast);
    const Bitmap first = screen.capture(0, 0, 1, 1);
    const Bitmap second = screen.capture(0, 0, 1, 1);
    session->castMonitors({{producer->node(), 0, 0, monitorWidth, monitorHeight}});
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(log_, "screen capture: the monitor's stream delivered no picture\n");
}

}  // namespace
}  // namespace pontrel
