#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/LinuxCdromIo.h"

namespace pontrel {

namespace {

int result(int returned) {
    return returned < 0 ? -errno : 0;
}

}  // namespace

int LinuxCdromIo::open(const std::string& device) {
    // O_NONBLOCK lets an empty drive or an open tray be opened.
    const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd < 0 ? -errno : fd;
}

int LinuxCdromIo::lockDoor(int fd, bool locked) {
    return result(ioctl(fd, CDROM_LOCKDOOR, locked ? 1 : 0));
}

int LinuxCdromIo::eject(int fd) {
    return result(ioctl(fd, CDROMEJECT, 0));
}

int LinuxCdromIo::closeTray(int fd) {
    return result(ioctl(fd, CDROMCLOSETRAY, 0));
}

void LinuxCdromIo::close(int fd) {
    ::close(fd);
}

}  // namespace pontrel
