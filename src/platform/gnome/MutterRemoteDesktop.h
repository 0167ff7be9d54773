#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace pontrel {

// The clipboard's content: data per MIME type.
using ClipboardContent = std::map<std::string, std::string>;

// A remote desktop session of mutter on a session-bus connection of its own, with a screen cast
// of every monitor in the same session (mutter moves the pointer to absolute places only on a
// stream, within its monitor). Mutter ends the session with the connection that made it, and loses
// the first events after its virtual devices appear, so one is made at the start and kept; when
// the monitors change, mutter ends it too, and the next input starts another. Calls may come from
// any one thread at a time.
class MutterRemoteDesktop {
public:
    MutterRemoteDesktop();
    ~MutterRemoteDesktop();
    MutterRemoteDesktop(const MutterRemoteDesktop&) = delete;
    MutterRemoteDesktop& operator=(const MutterRemoteDesktop&) = delete;

    bool usable() const;
    // Why the session is not usable or the last call failed.
    std::string error() const;

    // Key events are sent without waiting; sync() waits until mutter has taken all so far.
    void keycode(std::uint32_t evdevCode, bool down);
    void button(std::uint32_t evdevButton, bool down);
    // To a point of the desktop in logical pixels; beside every monitor, to the nearest one.
    bool movePointer(int x, int y);
    bool sync();

    // What the clipboard holds now (the text and other types a program offers); empty when
    // nothing is offered or we own it.
    ClipboardContent readClipboard();
    // Owns the clipboard with the content until the next call; false when mutter refuses.
    bool ownClipboard(const ClipboardContent& content);
    // How many times a program has taken our clipboard's content, and when one last asked.
    int clipboardTransfers() const;
    std::chrono::steady_clock::time_point lastClipboardTransfer() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pontrel
