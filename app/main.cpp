#include <iostream>

#include <QApplication>

#include "AppServices.h"
#include "CommandLineInfo.h"
#include "DisplayCheck.h"
#include "ExitSignals.h"
#include "platform/qt/CursorBlinkTimeout.h"
#include "platform/qt/GermanTranslations.h"
#include "platform/qt/MainWindow.h"
#include "window/MainForm.h"

int main(int argc, char** argv) {
    if (const auto info = pontrel::commandLineInfo(argc, argv)) {
        std::cout << *info;
        return 0;
    }
    // Synthesized input and the global key state need X11; under Wayland this means XWayland.
    qputenv("QT_QPA_PLATFORM", "xcb");
    // The input, key-state and capture services use Xlib from threads of their own.
    pontrel::prepareXlibForThreads();
    const std::string display = pontrel::chosenDisplay(argc, argv);
    if (!pontrel::canOpenDisplay(display)) {
        std::cerr << "Pontrel braucht eine X11-Anzeige, doch "
                  << (display.empty() ? std::string("DISPLAY ist nicht gesetzt")
                                      : "die Anzeige \"" + display + "\" lässt sich nicht öffnen")
                  << ". Bitte in einer X11-Sitzung (oder unter XWayland) starten.\n";
        return 1;
    }
    if (pontrel::waylandSession()) {
        std::cerr << "Hinweis: Wayland-Sitzung. Pontrel läuft über XWayland; seine Maus- und "
                     "Tastatureingaben erreichen nur X11-Programme.\n";
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("Pontrel");
    QApplication::setApplicationVersion("1.2.2");
    // Closing the window ends the program through the form, not through Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    const pontrel::GermanTranslations germanDialogs;
    const pontrel::CursorBlinkTimeout quietWhenIdle;

    pontrel::AppServices services;
    pontrel::endOnExitSignals();
    pontrel::MainForm form(services.platform());
    pontrel::MainWindow window(form.frm_pontrel, form.allControls());
    services.attachWindow(&window);
    window.setCloseHandler([&form] { form.lifecycle.Form_Unload(); });

    form.lifecycle.Form_Load();
    window.flushPending();
    window.showForm();
    return QApplication::exec();
}
