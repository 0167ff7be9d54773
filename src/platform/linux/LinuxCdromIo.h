#pragma once

#include "platform/linux/CdromIo.h"

namespace pontrel {

// The kernel's cdrom ioctls.
class LinuxCdromIo : public CdromIo {
public:
    int open(const std::string& device) override;
    int lockDoor(int fd, bool locked) override;
    int eject(int fd) override;
    int closeTray(int fd) override;
    void close(int fd) override;
};

}  // namespace pontrel
