#pragma once

#include <memory>

#include "BackendChoice.h"
#include "platform/BoundKeyState.h"
#include "platform/Platform.h"
#include "platform/UnavailableDisplayPower.h"
#include "platform/UnavailableRecorder.h"
#include "platform/gnome/MutterDisplayPower.h"
#include "platform/kde/KWinDisplayPower.h"
#include "platform/linux/LinuxSystemService.h"
#include "platform/linux/PosixFileSystem.h"
#include "platform/qt/QtClipboardService.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEnvironment.h"
#include "platform/qt/QtPictureWriter.h"
#include "platform/qt/QtScheduler.h"
#include "platform/qt/QtWindowService.h"
#include "platform/wayland/SwayInputBlocker.h"
#include "platform/wayland/SwayIpc.h"
#include "platform/wayland/WlrOutputPower.h"
#include "platform/x11/X11DisplayPower.h"
#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11InputService.h"
#include "platform/x11/X11KeyState.h"
#include "platform/x11/X11Recorder.h"
#include "platform/x11/X11ScreenService.h"

class QWidget;

namespace pontrel {

class GnomeScreenCapture;
class KWinInputBlocker;
class KWinInputSink;
class KWinScreenCapture;
class MutterInputSink;
class PortalBus;
class PortalInputSink;
class PortalScreenCapture;
class PortalScreenshots;
class RemoteDesktopSession;
class ScreenCastSession;
class WlrInputSink;
class WlrScreenCapture;

// Every service the program uses, built once, and the platform bundle over them. The choice of
// implementation for each service is made here and nowhere else.
class AppServices {
public:
    explicit AppServices(const BackendChoice& choice);
    ~AppServices();
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    Platform& platform() { return platform_; }
    // Dialogs and window effects act on the main window once it exists.
    void attachWindow(QWidget* window);

private:
    InputService& chooseInput(const BackendChoice& choice);
    ScreenService& chooseScreen(const BackendChoice& choice);
    DisplayPower& chooseDisplayPower(const BackendChoice& choice);
    // The desktop portal's connection, made on first use.
    PortalBus& portal();

    QtScheduler scheduler_;
    X11KeyState keyState_;
    X11InputBlocker blocker_;
    // On sway: its IPC for the focused window, the hot keys and the input block.
    SwayIpc sway_;
    // The start and stop keys where the desktop's shortcuts tell them.
    std::unique_ptr<BoundKeyState> boundKeys_;
    std::unique_ptr<SwayInputBlocker> swayBlocker_;
    std::unique_ptr<KWinInputBlocker> kwinBlocker_;
    // Elsewhere on Wayland: the desktop portals; sessions made end with the connection.
    std::unique_ptr<PortalBus> portal_;
    std::unique_ptr<RemoteDesktopSession> remoteDesktop_;  // the input's, when it uses the portal
    std::unique_ptr<ScreenCastSession> screenCast_;
    std::unique_ptr<PortalInputSink> portalInput_;
    // On Wayland too: through XWayland it knows the pointer over X11 windows, ours among them.
    X11InputService x11Input_{keyState_, blocker_};
    std::unique_ptr<WlrInputSink> wlrInput_;
    std::unique_ptr<KWinInputSink> kwinInput_;
    std::unique_ptr<MutterInputSink> mutterInput_;
    std::unique_ptr<InputService> waylandInput_;
    InputService& input_;
    QtPictureWriter pictures_;
    X11ScreenService x11Screen_{pictures_};
    std::unique_ptr<WlrScreenCapture> wlrScreen_;
    std::unique_ptr<GnomeScreenCapture> gnomeScreen_;
    std::unique_ptr<PortalScreenCapture> portalCast_;
    std::unique_ptr<PortalScreenshots> portalScreen_;
    std::unique_ptr<KWinScreenCapture> kwinScreen_;
    ScreenService& screen_;
    X11DisplayPower x11DisplayPower_;
    WlrDisplayPower wlrDisplayPower_;
    MutterDisplayPower mutterDisplayPower_;
    KWinDisplayPower kwinDisplayPower_;
    // Where no backend serves it: through XWayland the X server's screen saver would report a
    // success that nobody sees.
    UnavailableDisplayPower noDisplayPower_;
    LinuxSystemService system_;
    PosixFileSystem files_;
    QtClipboardService clipboard_{input_};
    QtDialogs dialogs_;
    QtWindowService window_;
    // Keys our own input still holds are let go before the process ends.
    QtEnvironment environment_{[this] { input_.cancelQueuedInput(); }};
    X11Recorder x11Recorder_;
    // Under Wayland the X server sees only the input of X11 programs.
    UnavailableRecorder waylandRecorder_{
        "Unter Wayland kann Pontrel nicht aufnehmen: die Sitzung gibt Tastatur und Maus anderer "
        "Programme nicht heraus."};
    Platform platform_;
};

}  // namespace pontrel
