#pragma once

#include <string>

#include "platform/Status.h"

namespace pontrel {

class ClipboardService {
public:
    virtual ~ClipboardService() = default;

    virtual Status clear() = 0;
    // Plain text; waits (bounded) until queued synthesized input is delivered, so the clipboard
    // never changes under text that is still being typed.
    virtual Status setText(const std::string& text) = 0;
};

}  // namespace pontrel
