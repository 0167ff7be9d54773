#include "AppServices.h"

#include "CommandLineInfo.h"
#include "platform/gnome/GnomeScreenCapture.h"
#include "platform/gnome/MutterInputSink.h"
#include "platform/kde/KWinInputBlocker.h"
#include "platform/kde/KWinInputSink.h"
#include "platform/kde/KWinKeyState.h"
#include "platform/kde/KWinScreenCapture.h"
#include "platform/linux/ProgramLauncher.h"
#include "platform/portal/PortalBus.h"
#include "platform/portal/PortalInputSink.h"
#include "platform/portal/PortalKeyState.h"
#include "platform/portal/PortalScreenCapture.h"
#include "platform/portal/PortalScreenshots.h"
#include "platform/portal/RemoteDesktopSession.h"
#include "platform/portal/ScreenCastSession.h"
#include "platform/wayland/SwayKeyState.h"
#include "platform/wayland/WaylandInputService.h"
#include "platform/wayland/WlrInputSink.h"
#include "platform/wayland/WlrScreenCapture.h"

namespace pontrel {

namespace {

constexpr int enterKey = 13;

}  // namespace

AppServices::AppServices(const BackendChoice& choice)
    : input_(chooseInput(choice)),
      screen_(chooseScreen(choice)),
      // The process that wakes the outputs is this program again, started detached.
      wlrDisplayPower_([](int answer) {
          return startDetached({"/proc/self/exe", {std::string(wakeOutputsArgument)}}, answer);
      }),
      system_(chooseDisplayPower(choice)),
      platform_{scheduler_,
                input_,
                screen_,
                system_,
                clipboard_,
                dialogs_,
                window_,
                environment_,
                files_,
                choice.recording == Backend::X11 ? static_cast<RecorderService&>(x11Recorder_)
                                                 : waylandRecorder_} {}

AppServices::~AppServices() = default;

InputService& AppServices::chooseInput(const BackendChoice& choice) {
    if (choice.input != Backend::Wlroots && choice.input != Backend::KWin &&
        choice.input != Backend::Mutter && choice.input != Backend::Portal) {
        return x11Input_;
    }
    WaylandInputService::Sources sources{
        // Enter is read only while our own (X11) window has the focus, where the pointer
        // position is known too: bound as a shortcut it would be taken from every program.
        [this](int virtualKey) { return x11Input_.asyncKeyState(virtualKey); },
        [this] { return x11Input_.cursorPos(); },
        [](bool) { return Status::failure("blocking input is not possible on this desktop"); },
    };
    // The hot keys of the desktop's bindings, which are told of our own presses.
    if (choice.keyState == Backend::Sway) {
        boundKeys_ = std::make_unique<SwayKeyState>();
    } else if (choice.keyState == Backend::KWin) {
        boundKeys_ = std::make_unique<KWinKeyState>();
    } else if (choice.keyState == Backend::Portal) {
        boundKeys_ = std::make_unique<PortalKeyState>(portal());
    }
    WlrInputSink::PressAnnouncer announce;
    if (boundKeys_ != nullptr) {
        sources.keyState = [this](int virtualKey) {
            return virtualKey == enterKey ? x11Input_.asyncKeyState(virtualKey)
                                          : boundKeys_->query(virtualKey);
        };
        announce = [this](NamedKey key) {
            boundKeys_->announceSyntheticPress(virtualKeyCode(key));
        };
    }
    if (choice.inputBlock == Backend::Sway) {
        swayBlocker_ = std::make_unique<SwayInputBlocker>();
        sources.block = [this](bool blocked) { return swayBlocker_->setBlocked(blocked); };
    } else if (choice.inputBlock == Backend::KWin) {
        kwinBlocker_ = std::make_unique<KWinInputBlocker>();
        sources.block = [this](bool blocked) { return kwinBlocker_->setBlocked(blocked); };
    }
    InputSink* sink = nullptr;
    if (choice.input == Backend::Portal) {
        remoteDesktop_ = std::make_unique<RemoteDesktopSession>(portal());
        portalInput_ = std::make_unique<PortalInputSink>(*remoteDesktop_, std::move(announce));
        sink = portalInput_.get();
    } else if (choice.input == Backend::KWin) {
        kwinInput_ = std::make_unique<KWinInputSink>(std::move(announce));
        sink = kwinInput_.get();
    } else if (choice.input == Backend::Mutter) {
        mutterInput_ = std::make_unique<MutterInputSink>(std::move(announce));
        sink = mutterInput_.get();
    } else {
        wlrInput_ = std::make_unique<WlrInputSink>(sway_.reachable() ? &sway_ : nullptr,
                                                   std::move(announce));
        sink = wlrInput_.get();
    }
    waylandInput_ = std::make_unique<WaylandInputService>(*sink, std::move(sources));
    return *waylandInput_;
}

ScreenService& AppServices::chooseScreen(const BackendChoice& choice) {
    switch (choice.screen) {
        case Backend::Wlroots:
            wlrScreen_ = std::make_unique<WlrScreenCapture>(pictures_);
            return *wlrScreen_;
        case Backend::Mutter:
            gnomeScreen_ = std::make_unique<GnomeScreenCapture>(
                pictures_, [this](const std::string& line) { environment_.writeLog(line); });
            return *gnomeScreen_;
        case Backend::PortalScreenCast: {
            // With input through the RemoteDesktop portal its session's streams serve: the
            // user approves once for both.
            CastSession* session = remoteDesktop_.get();
            if (session == nullptr) {
                screenCast_ = std::make_unique<ScreenCastSession>(portal());
                session = screenCast_.get();
            }
            portalCast_ = std::make_unique<PortalScreenCapture>(
                *session, pictures_,
                [this](const std::string& line) { environment_.writeLog(line); });
            return *portalCast_;
        }
        case Backend::Portal:
            portalScreen_ = std::make_unique<PortalScreenshots>(portal(), pictures_);
            return *portalScreen_;
        case Backend::KWin:
            kwinScreen_ = std::make_unique<KWinScreenCapture>(pictures_);
            return *kwinScreen_;
        default:
            return x11Screen_;
    }
}

DisplayPower& AppServices::chooseDisplayPower(const BackendChoice& choice) {
    switch (choice.monitorOff) {
        case Backend::X11:
            return x11DisplayPower_;
        case Backend::Wlroots:
            return wlrDisplayPower_;
        case Backend::Mutter:
            return mutterDisplayPower_;
        case Backend::KWin:
            return kwinDisplayPower_;
        default:
            return noDisplayPower_;
    }
}

PortalBus& AppServices::portal() {
    if (portal_ == nullptr) {
        portal_ = std::make_unique<PortalBus>();
    }
    return *portal_;
}

void AppServices::attachWindow(QWidget* window) {
    dialogs_.attach(window);
    window_.attach(window);
}

}  // namespace pontrel
