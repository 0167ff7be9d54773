#include <windows.h>

#include "WinServices.h"
#include "platform/win/WinMainWindow.h"
#include "window/MainForm.h"

// The program on Windows: the form on the Win32 services, shown in a native window.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    pontrel::WinServices services;
    pontrel::MainForm form(services.platform);
    pontrel::WinMainWindow window(form.frm_pontrel, form.allControls());
    services.attachWindow(window.handle());
    // Closing runs the form's unload, which ends the process.
    window.setCloseHandler([&form] { form.lifecycle.Form_Unload(); });

    form.lifecycle.Form_Load();
    window.showForm();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
