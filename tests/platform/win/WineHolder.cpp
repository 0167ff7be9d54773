#include <windows.h>

// Keeps wine's desktop alive while the tests run: without a process that uses user32, wine ends
// its desktop between two test programs and the next one finds no pointer. It owns a hidden
// window and waits for messages until it is killed.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
