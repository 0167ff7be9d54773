#include "ExitSignals.h"

#include <unistd.h>
#include <csignal>

#include "platform/x11/X11InputService.h"

namespace pontrel {

namespace {

void endNow(int signalNumber) {
    X11InputService::releaseHeldInputNow();
    _exit(128 + signalNumber);
}

}  // namespace

void endOnExitSignals() {
    struct sigaction action {};
    action.sa_handler = endNow;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signalNumber, &action, nullptr);
    }
}

}  // namespace pontrel
