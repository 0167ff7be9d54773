#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/RecorderService.h"

namespace pontrel {

// Watches the user's clicks and keys on the whole desktop through low-level keyboard and mouse
// hooks, which need no administrator rights. The hooks run on the thread that started the
// recording, inside its message loop. Characters are what the foreground program's keyboard
// layout makes of the key, dead keys included.
class WinRecorder : public RecorderService {
public:
    WinRecorder() = default;
    ~WinRecorder() override;
    WinRecorder(const WinRecorder&) = delete;
    WinRecorder& operator=(const WinRecorder&) = delete;

    std::string unavailableReason() override { return {}; }
    Status startRecording() override;
    std::vector<RecordedInput> takeRecorded() override;
    void stopRecording() override;

private:
    static LRESULT CALLBACK keyboardHook(int code, WPARAM message, LPARAM data);
    static LRESULT CALLBACK mouseHook(int code, WPARAM message, LPARAM data);
    void keyDown(const KBDLLHOOKSTRUCT& key);
    void buttonDown(WPARAM message, const MSLLHOOKSTRUCT& mouse);
    // The character of a key in the foreground program's layout; empty for a dead key, which
    // the layout keeps for the next key.
    std::wstring characterOf(const KBDLLHOOKSTRUCT& key, bool ctrl, bool alt, bool& chord);
    void add(RecordedInput input);

    HHOOK keyboard_ = nullptr;
    HHOOK mouse_ = nullptr;
    // The first half of a character that a program typed as two UTF-16 units.
    std::optional<wchar_t> highSurrogate_;
    std::vector<RecordedInput> seen_;
};

}  // namespace pontrel
