#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace pontrel {

// Files, relative paths meaning relative to the current directory.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0;
    // At most maxBytes of the file; nothing when it cannot be opened.
    virtual std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) = 0;
    // Replaces the file atomically: a failure leaves the old file as it was.
    virtual Status replaceFile(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace pontrel
