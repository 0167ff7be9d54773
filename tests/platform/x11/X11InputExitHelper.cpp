// Types a long text while holding Shift and ends on SIGTERM through the signal hook of the
// input service, as the program does. Started by the input tests on their private display.
#include <unistd.h>
#include <csignal>
#include <cstdio>

#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11InputService.h"
#include "platform/x11/X11KeyState.h"

#include <X11/Xlib.h>

namespace {

extern "C" void onTerminate(int /*signal*/) {
    pontrel::X11InputService::releaseHeldInputNow();
    _exit(0);
}

}  // namespace

int main() {
    using pontrel::KeyAction;
    XInitThreads();
    pontrel::X11KeyState keyState;
    pontrel::X11InputBlocker blocker;
    pontrel::X11InputService input(keyState, blocker);
    std::signal(SIGTERM, onTerminate);

    pontrel::KeyActions actions{KeyAction{KeyAction::Kind::Press, pontrel::NamedKey::Shift, 0}};
    for (char32_t c = U'\u4E00'; c < U'\u4E00' + 300; ++c) {
        actions.push_back(KeyAction{KeyAction::Kind::Type, pontrel::NamedKey::Enter, c});
    }
    if (!input.sendKeys(actions).ok()) {
        return 1;
    }
    std::puts("typing");
    std::fflush(stdout);
    for (;;) {
        pause();
    }
}
