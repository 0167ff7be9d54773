#include "platform/win/WinClipboardService.h"

#include <cstring>

#include "platform/InputService.h"
#include "platform/win/WideText.h"

namespace pontrel {

namespace {

// Another program may hold the clipboard for a moment.
constexpr int openAttempts = 10;
constexpr DWORD openRetryMs = 10;

}  // namespace

WinClipboardService::WinClipboardService(InputService& input)
    : input_(input),
      owner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {}

WinClipboardService::~WinClipboardService() {
    DestroyWindow(owner_);
}

bool WinClipboardService::open() {
    for (int attempt = 0; attempt < openAttempts; ++attempt) {
        if (OpenClipboard(owner_)) {
            return true;
        }
        Sleep(openRetryMs);
    }
    return false;
}

Status WinClipboardService::clear() {
    if (!open()) {
        return Status::failure(lastErrorText("OpenClipboard"));
    }
    const bool emptied = EmptyClipboard() != 0;
    CloseClipboard();
    return emptied ? Status::success() : Status::failure(lastErrorText("EmptyClipboard"));
}

Status WinClipboardService::setText(const std::string& text) {
    // Text still being typed must not see the clipboard change under it.
    input_.drainQueuedInput();
    const std::wstring wide = widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return Status::failure(lastErrorText("GlobalAlloc"));
    }
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (!open()) {
        GlobalFree(memory);
        return Status::failure(lastErrorText("OpenClipboard"));
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        const Status failure = Status::failure(lastErrorText("SetClipboardData"));
        CloseClipboard();
        GlobalFree(memory);
        return failure;
    }
    // The clipboard owns the memory now.
    CloseClipboard();
    return Status::success();
}

}  // namespace pontrel
