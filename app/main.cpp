#include <iostream>
#include <string_view>

#include <QApplication>
#include <QMessageBox>

#include "AppServices.h"
#include "BackendChoice.h"
#include "CommandLineInfo.h"
#include "DisplayCheck.h"
#include "ExitSignals.h"
#include "GnomeHotkeySetup.h"
#include "HotkeyForwarding.h"
#include "platform/qt/CursorBlinkTimeout.h"
#include "platform/qt/GermanTranslations.h"
#include "platform/qt/HotkeyChannel.h"
#include "platform/qt/MainWindow.h"
#include "platform/wayland/WlrOutputPower.h"
#include "window/MainForm.h"

int main(int argc, char** argv) {
    if (const auto info = pontrel::commandLineInfo(argc, argv)) {
        std::cout << *info;
        return 0;
    }
    if (argc == 2 && argv[1] == pontrel::wakeOutputsArgument) {
        return pontrel::wakeOutputsOnInput();
    }
    if (const auto word = pontrel::hotkeyWord(argc, argv)) {
        return pontrel::forwardHotkey(*word, argc, argv);
    }
    // The input, key-state and capture services use Xlib from threads of their own.
    pontrel::prepareXlibForThreads();
    const std::string display = pontrel::chosenDisplay(argc, argv);
    const bool x11Display = pontrel::canOpenDisplay(display);
    // The window is an X11 window, under Wayland through XWayland, so that transparency and
    // always-on-top keep working; only without XWayland it is a Wayland window, without both.
    const bool waylandWindow = !x11Display && pontrel::waylandCompositorAnswers();
    qputenv("QT_QPA_PLATFORM", waylandWindow ? "wayland" : "xcb");
    if (argc == 2 && std::string_view(argv[1]) == "--diagnose") {
        const QCoreApplication forTheProbes(argc, argv);
        const pontrel::DesktopFacts desktop = pontrel::probeDesktop(x11Display);
        const pontrel::BackendChoice backends = pontrel::chooseBackends(desktop);
        for (const std::string& line : pontrel::describeBackends(backends)) {
            std::cout << line << '\n';
        }
        for (const std::string& line : pontrel::diagnosisHints(desktop)) {
            std::cout << line << '\n';
        }
        if (!x11Display && !waylandWindow) {
            std::cout << "Fenster: braucht eine X11-Anzeige oder eine Wayland-Sitzung\n";
        }
        if (backends.keyState == pontrel::Backend::HotkeyCommand) {
            std::cout << pontrel::gnomeHotkeySetup(pontrel::runningProgram());
        }
        return 0;
    }
    if (!x11Display && !waylandWindow) {
        std::cerr << "Pontrel braucht eine X11-Anzeige, doch "
                  << (display.empty() ? std::string("DISPLAY ist nicht gesetzt")
                                      : "die Anzeige \"" + display + "\" lässt sich nicht öffnen")
                  << ". Bitte in einer X11- oder Wayland-Sitzung starten.\n";
        return 1;
    }

    QApplication application(argc, argv);
    const pontrel::DesktopFacts desktop = pontrel::probeDesktop(x11Display);
    const pontrel::BackendChoice backends = pontrel::chooseBackends(desktop);
    if (pontrel::waylandSession()) {
        // The choice made for this desktop, once, for the log.
        for (const std::string& line : pontrel::describeBackends(backends)) {
            std::cerr << "Wayland-Sitzung: " << line << '\n';
        }
    }
    QApplication::setApplicationName("Pontrel");
    QApplication::setApplicationVersion("1.2.2");
    // Closing the window ends the program through the form, not through Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    const pontrel::GermanTranslations germanDialogs;
    const pontrel::CursorBlinkTimeout quietWhenIdle;

    pontrel::AppServices services(backends);
    pontrel::endOnExitSignals();
    pontrel::MainForm form(services.platform());
    pontrel::MainWindow window(form.frm_pontrel, form.allControls());
    services.attachWindow(&window);
    window.setCloseHandler([&form] { form.lifecycle.Form_Unload(); });
    if (backends.windowEffects == pontrel::Backend::None) {
        form.options.fenstereffekte_sperren(
            "Auf diesem Desktop nicht möglich: ohne XWayland ist Pontrel ein\n"
            "Wayland-Fenster, und Wayland lässt ein Programm sein Fenster weder\n"
            "durchsichtig machen noch im Vordergrund halten.");
    }
    // "Pontrel --hotkey start|stop" from a desktop shortcut acts as the start or stop key.
    const pontrel::HotkeyServer hotkeys([&form](pontrel::HotkeyCommand command) {
        if (command == pontrel::HotkeyCommand::Start && !form.run.running()) {
            form.run.cmd_start_Click();
        } else if (command == pontrel::HotkeyCommand::Stop && form.run.running()) {
            form.run.start_stop();
        }
    });

    form.lifecycle.Form_Load();
    window.flushPending();
    window.showForm();
    if (pontrel::waylandSession()) {
        // Once, what this desktop does not let the program do; a command that needs it fails.
        const std::vector<std::string> missing = pontrel::unavailableServices(backends);
        if (!missing.empty()) {
            QString text = QString::fromUtf8("Auf diesem Desktop nicht möglich:");
            for (const std::string& service : missing) {
                text += QString::fromUtf8("\n– ") + QString::fromStdString(service);
            }
            QMessageBox::information(&window, "Pontrel", text);
        }
    }
    return QApplication::exec();
}
