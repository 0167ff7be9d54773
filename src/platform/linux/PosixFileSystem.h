#pragma once

#include "platform/FileSystem.h"

namespace pontrel {

// Files on a POSIX system. Only regular files count as files.
class PosixFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
    // Writes a temporary file beside the target, syncs it and renames it over the target, which
    // keeps its mode and owner; a symbolic link is written through to its target. An existing
    // file we may not write is left alone. Where the folder refuses new files but the file is
    // writable, the file is rewritten in place instead (not atomic, but the only way there).
    Status replaceFile(const std::string& path, std::string_view bytes) override;
};

}  // namespace pontrel
