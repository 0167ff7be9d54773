#pragma once

#include <string>

namespace pontrel {

// The few cdrom device calls the tray needs; each returns 0 (a descriptor for open) or -errno.
class CdromIo {
public:
    virtual ~CdromIo() = default;

    virtual int open(const std::string& device) = 0;
    virtual int lockDoor(int fd, bool locked) = 0;
    virtual int eject(int fd) = 0;
    virtual int closeTray(int fd) = 0;
    virtual void close(int fd) = 0;
};

}  // namespace pontrel
