#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/RecorderService.h"

namespace pontrel {

// Watches the user's clicks and keys on the whole X11 desktop through XInput 2 raw events, on a
// thread with an X connection of its own. Characters are what the live XKB keymap gives in the
// current group and level, dead keys composed by the locale's compose table; the pointer
// position of a click is read when its press arrives.
class X11Recorder : public RecorderService {
public:
    X11Recorder();
    ~X11Recorder() override;
    X11Recorder(const X11Recorder&) = delete;
    X11Recorder& operator=(const X11Recorder&) = delete;

    std::string unavailableReason() override;
    Status startRecording() override;
    std::vector<RecordedInput> takeRecorded() override;
    void stopRecording() override;

private:
    struct Session;
    std::unique_ptr<Session> session_;
    std::optional<std::string> reason_;
};

}  // namespace pontrel
