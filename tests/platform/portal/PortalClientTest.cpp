// The portal client through the real portal frontend, against a fake desktop backend that
// approves every request and records every call.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/InputService.h"
#include "platform/portal/PortalBus.h"
#include "platform/portal/PortalInputSink.h"
#include "platform/portal/PortalKeyState.h"
#include "platform/portal/PortalProbe.h"
#include "platform/portal/PortalScreenshots.h"
#include "platform/portal/RestoreToken.h"
#include "support/CoreApplication.h"
#include "support/wayland/BackendTestSupport.h"
#include "support/wayland/PortalSession.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

constexpr int vkF5 = 0x74;

using test::NoPictureWriter;

class PortalClientTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        test::ensureCoreApplication();
        // Two monitors side by side.
        session = new test::PortalSession({{44, 0, 0, 1920, 1080}, {45, 1920, 0, 1280, 1024}});
    }
    static void TearDownTestSuite() {
        delete session;
        session = nullptr;
    }
    void SetUp() override { ASSERT_EQ(session->failure(), ""); }

    static void writeScreen(const QImage& screen) {
        ASSERT_TRUE(screen.save(QString::fromStdString(session->screenshotFile()), "PNG"));
    }

    static inline test::PortalSession* session = nullptr;
    PortalBus bus_;
};

TEST_F(PortalClientTest, RemoteDesktopGetsKeysymsAndMonitorCoordinatesInOneSession) {
    std::vector<NamedKey> announced;
    {
        RemoteDesktopSession remoteDesktop(bus_);
        PortalInputSink sink(remoteDesktop,
                             [&announced](NamedKey key) { announced.push_back(key); });
        const CancelCheck never = [] { return false; };
        sink.pressKey(NamedKey::Shift);
        sink.typeCharacters(U"aä€\n", never);
        sink.releaseKey(NamedKey::Shift);
        // Ctrl+Alt+F1 would switch the virtual terminal: F1 is left out.
        for (NamedKey key : {NamedKey::Ctrl, NamedKey::Alt, NamedKey::F1}) {
            sink.pressKey(key);
        }
        for (NamedKey key : {NamedKey::F1, NamedKey::Alt, NamedKey::Ctrl}) {
            sink.releaseKey(key);
        }
        sink.movePointer({2000, 30});  // on the second monitor
        sink.movePointer({-5, 5000});  // on none: the nearest edge of the first
        sink.pressButton(MouseButton::Left);
        sink.releaseButton(MouseButton::Left);
        sink.pressButton(MouseButton::Right);
        sink.releaseButton(MouseButton::Right);
    }
    EXPECT_EQ(session->calls("NotifyKeyboardKeysym"),
              (Calls{"65505 1", "97 1", "97 0", "228 1", "228 0", "8364 1", "8364 0", "65293 1",
                     "65293 0", "65505 0", "65507 1", "65513 1", "65513 0", "65507 0"}));
    EXPECT_EQ(session->calls("NotifyPointerMotionAbsolute"),
              (Calls{"45 dbus.Double(80.0) dbus.Double(30.0)",
                     "44 dbus.Double(0.0) dbus.Double(1079.0)"}));
    EXPECT_EQ(session->calls("NotifyPointerButton"), (Calls{"272 1", "272 0", "273 1", "273 0"}));
    EXPECT_EQ(announced, (std::vector<NamedKey>{NamedKey::Shift, NamedKey::Ctrl, NamedKey::Alt}));
    // One session with keyboard, pointer and every monitor, started once.
    ASSERT_EQ(session->calls("SelectDevices").size(), 1U);
    EXPECT_NE(session->calls("SelectDevices")[0].find("\"types\": 3"), std::string::npos);
    ASSERT_EQ(session->calls("SelectSources").size(), 1U);
    EXPECT_NE(session->calls("SelectSources")[0].find("\"multiple\": True"), std::string::npos);
    EXPECT_EQ(session->calls("Start").size(), 1U);
}

TEST_F(PortalClientTest, ScreenshotIsReadRemovedAndCutToTheRectangle) {
    NoPictureWriter pictures;
    PortalScreenshots screen(bus_, pictures);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(0x102030);
    picture.setPixel(11, 6, 0xAABBCC);

    writeScreen(picture);
    EXPECT_EQ(screen.capture(10, 5, 3, 2),
              (Bitmap{3, 2, {0x102030, 0x102030, 0x102030, 0x102030, 0xAABBCC, 0x102030}}));
    EXPECT_FALSE(std::filesystem::exists(session->screenshotFile()));
    EXPECT_EQ(screen.screenSize().width, 40);
    EXPECT_EQ(screen.screenSize().height, 30);

    writeScreen(picture);
    // What lies beyond the screen is black.
    EXPECT_EQ(screen.capture(39, 29, 2, 2), (Bitmap{2, 2, {0x102030, 0, 0, 0}}));
}

TEST_F(PortalClientTest, ARequestTheUserDeclinesSaysSo) {
    session->answerScreenshots(1);
    const PortalResponse declined =
        bus_.request(QStringLiteral("Screenshot"), QStringLiteral("Screenshot"), {QString()},
                     {{QStringLiteral("interactive"), false}}, PortalBus::quickAnswer);
    NoPictureWriter pictures;
    const Bitmap none = PortalScreenshots(bus_, pictures).capture(0, 0, 1, 1);
    session->answerScreenshots(0);
    EXPECT_FALSE(declined.ok);
    EXPECT_TRUE(declined.declined);
    EXPECT_NE(declined.error.find("the user declined"), std::string::npos) << declined.error;
    EXPECT_TRUE(none.empty());
}

TEST_F(PortalClientTest, APolledKeyIsAShortcutWhilePolled) {
    PortalKeyState keys(bus_);
    // Queries every 10 ms, as the program does, until the key reads `wanted`.
    const auto pollUntil = [&keys](std::uint16_t wanted, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (keys.query(vkF5) == wanted) {
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    };
    const auto bindings = [] { return session->calls("BindShortcuts"); };
    EXPECT_FALSE(pollUntil(keyDownNow, 500ms));
    ASSERT_EQ(bindings().size(), 1U);
    EXPECT_NE(bindings()[0].find("pontrel-key-116"), std::string::npos) << bindings()[0];
    EXPECT_NE(bindings()[0].find("'F5'"), std::string::npos) << bindings()[0];

    session->press("pontrel-key-116", true);
    EXPECT_TRUE(pollUntil(keyDownNow | keyPressedSinceLastQuery, 2s));
    EXPECT_EQ(keys.query(vkF5), keyDownNow);
    session->press("pontrel-key-116", false);
    EXPECT_TRUE(pollUntil(0, 2s));

    // Our own typing announces its presses: they do not count.
    keys.announceSyntheticPress(vkF5);
    session->press("pontrel-key-116", true);
    EXPECT_TRUE(pollUntil(keyDownNow, 2s));
    session->press("pontrel-key-116", false);
    EXPECT_TRUE(pollUntil(0, 2s));

    // Not polled for a while, the key is given back; polled again, it is bound anew.
    std::this_thread::sleep_for(1500ms);
    EXPECT_FALSE(pollUntil(keyDownNow, 500ms));
    EXPECT_EQ(bindings().size(), 2U);

    // The desktop ends the session (the user took the shortcuts back): polled, it is bound anew.
    session->closeSessions();
    EXPECT_FALSE(pollUntil(keyDownNow, 1s));
    EXPECT_EQ(bindings().size(), 3U);
    session->press("pontrel-key-116", true);
    EXPECT_TRUE(pollUntil(keyDownNow | keyPressedSinceLastQuery, 2s));
}

TEST_F(PortalClientTest, TheProbeFindsTheInterfacesTheDesktopOffers) {
    const PortalVersions versions = probePortal();
    EXPECT_GE(versions.remoteDesktop, 1U);
    EXPECT_GE(versions.screenCast, 4U);
    EXPECT_GE(versions.screenshot, 1U);
    EXPECT_GE(versions.globalShortcuts, 1U);
}

TEST_F(PortalClientTest, RestoreTokenIsKeptForTheUserAlone) {
    keepRestoreToken(PortalGrant::RemoteDesktop, "token-1");
    keepRestoreToken(PortalGrant::RemoteDesktop, "token-2");
    EXPECT_EQ(readRestoreToken(PortalGrant::RemoteDesktop), "token-2");
    struct stat file {};
    ASSERT_EQ(stat((session->folder() + "/config/pontrel/portal-restore-token").c_str(), &file), 0);
    EXPECT_EQ(file.st_mode & 0777, 0600U);
    keepRestoreToken(PortalGrant::RemoteDesktop, "");
    EXPECT_EQ(readRestoreToken(PortalGrant::RemoteDesktop), "");
    // A damaged file with no end of line is read no further than a token could be long.
    std::ofstream(session->folder() + "/config/pontrel/portal-restore-token")
        << std::string(1 << 20, 'x');
    EXPECT_EQ(readRestoreToken(PortalGrant::RemoteDesktop), "");
}

}  // namespace
}  // namespace pontrel
