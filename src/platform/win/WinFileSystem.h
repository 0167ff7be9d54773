#pragma once

#include "platform/FileSystem.h"

namespace pontrel {

// Files through kernel32 with UTF-16 paths. A replace writes a temporary file beside the target
// and moves it over the target in one step.
class WinFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
    Status replaceFile(const std::string& path, std::string_view bytes) override;
};

}  // namespace pontrel
