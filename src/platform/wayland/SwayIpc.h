#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pontrel {

// A client of sway's IPC socket ($SWAYSOCK): commands and the focused window. Used from one
// thread at a time.
class SwayIpc {
public:
    // The socket named by $SWAYSOCK.
    SwayIpc();
    explicit SwayIpc(std::string socketPath);
    ~SwayIpc();
    SwayIpc(const SwayIpc&) = delete;
    SwayIpc& operator=(const SwayIpc&) = delete;

    // True when sway answers on the socket.
    bool reachable();

    // Runs sway commands; true when every one succeeded.
    bool command(std::string_view commands);
    // "xwayland" or "xdg_shell" for the focused window; empty when sway does not say.
    std::string focusedShell();

private:
    std::optional<std::string> request(std::uint32_t type, std::string_view payload);
    bool connectSocket();

    std::string socketPath_;
    int socket_ = -1;
};

}  // namespace pontrel
