#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Status.h"

class QLocalServer;

namespace pontrel {

// What "Pontrel --hotkey start|stop" asks of the running program.
enum class HotkeyCommand { Start, Stop };

// Takes hot-key commands from other processes of the same user over a local socket in the
// user's runtime folder ($XDG_RUNTIME_DIR; none without it), and calls the handler with each on
// this (the user-interface) thread.
// Desktops that let no program read hot keys run such a command for a shortcut the user sets up.
class HotkeyServer {
public:
    explicit HotkeyServer(std::function<void(HotkeyCommand)> handler);
    ~HotkeyServer();
    HotkeyServer(const HotkeyServer&) = delete;
    HotkeyServer& operator=(const HotkeyServer&) = delete;

    // False when another running Pontrel already takes the commands, or there is no runtime
    // folder.
    bool listening() const;

private:
    std::unique_ptr<QLocalServer> server_;
    std::function<void(HotkeyCommand)> handler_;
};

// Hands the command to the running program and waits for it to be taken.
Status sendHotkeyCommand(HotkeyCommand command);

}  // namespace pontrel
