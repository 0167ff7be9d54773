#include "platform/x11/X11EventThread.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "platform/x11/X11Connection.h"

#include <X11/Xlib.h>

namespace pontrel {

bool X11EventThread::start(const X11Connection& connection, X11EventHandlers handlers) {
    stop();
    if (pipe(wakePipe_) != 0) {
        std::perror("X11 event thread: no wake pipe");
        return false;
    }
    stopping_ = false;
    thread_ = std::thread([this, &connection, handlers = std::move(handlers)] {
        run(connection, handlers);
        if (handlers.ended) {
            handlers.ended();
        }
    });
    return true;
}

bool X11EventThread::wake() {
    const char byte = 1;
    return running() && write(wakePipe_[1], &byte, 1) == 1;
}

void X11EventThread::stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        if (!wake()) {
            std::perror("X11 event thread: stopping");
        }
        thread_.join();
    }
    for (int& fd : wakePipe_) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
}

void X11EventThread::run(const X11Connection& connection, const X11EventHandlers& handlers) {
    Display* display = connection.display();
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    for (;;) {
        // A lost server shows in XPending: Xlib's loss handler marks the connection lost.
        while (!connection.lost() && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (handlers.event) {
                handlers.event(event);
            }
        }
        if (connection.lost() || (poll(fds, 2, -1) < 0 && errno != EINTR)) {
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            char drained[64];
            if (read(wakePipe_[0], drained, sizeof drained) < 0) {
                std::perror("X11 event thread: reading the wake pipe");
            }
            if (stopping_) {
                return;
            }
            if (handlers.woken) {
                handlers.woken();
            }
        }
        if ((fds[0].revents & (POLLERR | POLLHUP)) != 0) {
            return;
        }
    }
}

}  // namespace pontrel
