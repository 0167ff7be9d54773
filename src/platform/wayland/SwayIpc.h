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

    struct Event {
        std::uint32_t type;  // 0x80000000 and up
        std::string payload;
    };
    static constexpr std::uint32_t workspaceEvent = 0x80000000;
    static constexpr std::uint32_t bindingEvent = 0x80000005;
    // Subscribes this connection to the events named (a JSON array); from then on it is read
    // only with nextEvent().
    bool subscribe(std::string_view events);
    // The next event, waiting at most timeoutMs; nothing after the timeout or when the
    // connection was lost (then closed(), and subscribe() may be tried again).
    std::optional<Event> nextEvent(int timeoutMs);
    bool closed() const { return socket_ < 0; }

private:
    std::optional<std::string> request(std::uint32_t type, std::string_view payload);
    std::optional<Event> readMessage();
    bool connectSocket();
    void closeSocket();

    std::string socketPath_;
    int socket_ = -1;
};

}  // namespace pontrel
