#include "AppServices.h"

#include "platform/wayland/WaylandInputService.h"
#include "platform/wayland/WlrInputSink.h"
#include "platform/wayland/WlrScreenCapture.h"

namespace pontrel {

AppServices::AppServices(const BackendChoice& choice)
    : input_(makeInput(choice)), screen_(chooseScreen(choice)), platform_{scheduler_, *input_,
                                                                          screen_,    system_,
                                                                          clipboard_, dialogs_,
                                                                          window_,    environment_,
                                                                          files_} {}

AppServices::~AppServices() = default;

std::unique_ptr<InputService> AppServices::makeInput(const BackendChoice& choice) {
    if (choice.input != Backend::Wlroots) {
        return std::make_unique<X11InputService>(keyState_, blocker_);
    }
    WaylandInputService::KeyState keys = [this](int virtualKey) {
        return keyState_.query(virtualKey);
    };
    WlrInputSink::PressAnnouncer announce;
    if (choice.keyState == Backend::Sway) {
        swayKeys_ = std::make_unique<SwayKeyState>();
        keys = [this](int virtualKey) { return swayKeys_->query(virtualKey); };
        announce = [this](NamedKey key) { swayKeys_->announceSyntheticPress(virtualKeyCode(key)); };
    }
    WaylandInputService::Block block = [](bool) {
        return Status::failure("blocking input is not possible on this desktop");
    };
    if (choice.inputBlock == Backend::Sway) {
        swayBlocker_ = std::make_unique<SwayInputBlocker>();
        block = [this](bool blocked) { return swayBlocker_->setBlocked(blocked); };
    }
    wlrInput_ =
        std::make_unique<WlrInputSink>(sway_.reachable() ? &sway_ : nullptr, std::move(announce));
    return std::make_unique<WaylandInputService>(*wlrInput_, std::move(keys), std::move(block));
}

ScreenService& AppServices::chooseScreen(const BackendChoice& choice) {
    if (choice.screen != Backend::Wlroots) {
        return x11Screen_;
    }
    wlrScreen_ = std::make_unique<WlrScreenCapture>(pictures_);
    return *wlrScreen_;
}

void AppServices::attachWindow(QWidget* window) {
    dialogs_.attach(window);
    window_.attach(window);
}

}  // namespace pontrel
