#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pontrel {

// The CD drives the kernel knows, as device paths ("/dev/sr0", "/dev/sr1", ...) in the order of
// their names, so that sr2 comes before sr10.
std::vector<std::string> cdromDevices(const std::string& infoFile = "/proc/sys/dev/cdrom/info",
                                      const std::string& blockFolder = "/sys/block");

// The drives of the "drive name:" line of the kernel's cdrom info text.
std::vector<std::string> cdromDevicesFromInfo(std::string_view info);
// The CD drives among the names of the block device folder (sr0, sr1, ...).
std::vector<std::string> cdromDevicesFromBlockNames(std::vector<std::string> names);

}  // namespace pontrel
