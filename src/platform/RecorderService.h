#pragma once

#include <string>
#include <vector>

#include "platform/RecordedInput.h"
#include "platform/Status.h"

namespace pontrel {

// Watches what the user does on the whole desktop (clicks, typed characters, named keys) while a
// recording runs. The form collects what was seen on its own timer.
class RecorderService {
public:
    virtual ~RecorderService() = default;

    // Empty when recording works here, otherwise why not, in words for the user.
    virtual std::string unavailableReason() = 0;

    // Starts watching; what happened before does not count.
    virtual Status startRecording() = 0;
    // What was seen since the last call, oldest first.
    virtual std::vector<RecordedInput> takeRecorded() = 0;
    // Stops watching and drops what was not taken.
    virtual void stopRecording() = 0;
};

}  // namespace pontrel
