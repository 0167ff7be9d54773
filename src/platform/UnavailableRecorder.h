#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/RecorderService.h"

namespace pontrel {

// The recorder of a platform that cannot watch the user's input; it says why.
class UnavailableRecorder : public RecorderService {
public:
    explicit UnavailableRecorder(std::string reason) : reason_(std::move(reason)) {}

    std::string unavailableReason() override { return reason_; }
    Status startRecording() override { return Status::failure(reason_); }
    std::vector<RecordedInput> takeRecorded() override { return {}; }
    void stopRecording() override {}

private:
    std::string reason_;
};

}  // namespace pontrel
