#pragma once

#include "platform/ClipboardService.h"
#include "platform/InputService.h"

namespace pontrel {

// The CLIPBOARD selection through QClipboard.
class QtClipboardService : public ClipboardService {
public:
    explicit QtClipboardService(InputService& input) : input_(input) {}

    Status clear() override;
    // Lets queued synthesized input arrive first, so text still being typed never sees the new
    // clipboard.
    Status setText(const std::string& text) override;

private:
    InputService& input_;
};

}  // namespace pontrel
