#include "HotkeyForwarding.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include <QCoreApplication>

#include "platform/qt/HotkeyChannel.h"

namespace pontrel {

int forwardHotkey(const std::string& word, int argc, char** argv) {
    if (word != "start" && word != "stop") {
        std::cerr << "Aufruf: Pontrel --hotkey start|stop\n";
        return 2;
    }
    const QCoreApplication application(argc, argv);
    const Status sent =
        sendHotkeyCommand(word == "start" ? HotkeyCommand::Start : HotkeyCommand::Stop);
    if (!sent.ok()) {
        std::cerr << "Pontrel --hotkey " << word
                  << ": kein laufendes Pontrel hat den Befehl angenommen (" << sent.message()
                  << ")\n";
        return 1;
    }
    return 0;
}

std::string runningProgram() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("Pontrel") : program.string();
}

}  // namespace pontrel
