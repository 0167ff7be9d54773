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
    wlrInput_ = std::make_unique<WlrInputSink>(sway_.reachable() ? &sway_ : nullptr);
    return std::make_unique<WaylandInputService>(
        *wlrInput_, [this](int virtualKey) { return keyState_.query(virtualKey); });
}

ScreenService& AppServices::chooseScreen(const BackendChoice& choice) {
    if (choice.screen != Backend::Wlroots) {
        return x11Screen_;
    }
    wlrScreen_ = std::make_unique<WlrScreenCapture>(x11Screen_);
    return *wlrScreen_;
}

void AppServices::attachWindow(QWidget* window) {
    dialogs_.attach(window);
    window_.attach(window);
}

}  // namespace pontrel
