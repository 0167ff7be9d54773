#include "AppServices.h"

#include "DisplayCheck.h"

namespace pontrel {

AppServices::AppServices()
    : platform_{scheduler_,
                input_,
                screen_,
                system_,
                clipboard_,
                dialogs_,
                window_,
                environment_,
                files_,
                waylandSession() ? static_cast<RecorderService&>(waylandRecorder_) : x11Recorder_} {
}

void AppServices::attachWindow(QWidget* window) {
    dialogs_.attach(window);
    window_.attach(window);
}

}  // namespace pontrel
