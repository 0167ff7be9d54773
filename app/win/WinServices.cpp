#include "WinServices.h"

namespace pontrel {

WinServices::WinServices()
    : system([this] { return mainWindow_; }),
      // Keys a cut-off text left held are released before the process ends.
      environment([this] { input.cancelQueuedInput(); }) {}

void WinServices::attachWindow(HWND window) {
    mainWindow_ = window;
    dialogs.setOwner(window);
    this->window.setWindow(window);
}

}  // namespace pontrel
