#pragma once

#include <windows.h>

#include "platform/Platform.h"
#include "platform/win/WinClipboardService.h"
#include "platform/win/WinDialogs.h"
#include "platform/win/WinEnvironment.h"
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinInputService.h"
#include "platform/win/WinRecorder.h"
#include "platform/win/WinScheduler.h"
#include "platform/win/WinScreenService.h"
#include "platform/win/WinSystemService.h"
#include "platform/win/WinWindowService.h"

namespace pontrel {

// Every Win32 service of the program, built once by WinMain and handed to the form.
class WinServices {
public:
    WinServices();
    WinServices(const WinServices&) = delete;
    WinServices& operator=(const WinServices&) = delete;

    // The main window exists: the services that act on it or own dialogs use it from now on.
    void attachWindow(HWND window);

    WinScheduler scheduler;
    WinInputService input;
    WinScreenService screen;
    WinSystemService system;
    WinClipboardService clipboard{input};
    WinDialogs dialogs;
    WinWindowService window;
    WinEnvironment environment;
    WinFileSystem files;
    WinRecorder recorder;
    Platform platform{scheduler, input,  screen,      system, clipboard,
                      dialogs,   window, environment, files,  recorder};

private:
    HWND mainWindow_ = nullptr;
};

}  // namespace pontrel
