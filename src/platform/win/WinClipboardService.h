#pragma once

#include <windows.h>

#include "platform/ClipboardService.h"

namespace pontrel {

class InputService;

// The clipboard as Unicode text. It is opened for a hidden window of its own: a clipboard emptied
// without an owner window refuses new data.
class WinClipboardService : public ClipboardService {
public:
    explicit WinClipboardService(InputService& input);
    ~WinClipboardService() override;
    WinClipboardService(const WinClipboardService&) = delete;
    WinClipboardService& operator=(const WinClipboardService&) = delete;

    Status clear() override;
    Status setText(const std::string& text) override;

private:
    bool open();

    InputService& input_;
    HWND owner_ = nullptr;
};

}  // namespace pontrel
