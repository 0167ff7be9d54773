#include "platform/win/WinFileSystem.h"

#include <algorithm>

#include <windows.h>

#include "platform/win/WideText.h"

namespace pontrel {

namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    void close() {
        if (valid()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool WinFileSystem::exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> WinFileSystem::readFile(const std::string& path, std::size_t maxBytes) {
    const FileHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    while (content.size() < maxBytes) {
        const auto wanted = static_cast<DWORD>(std::min(sizeof(buffer), maxBytes - content.size()));
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, wanted, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        content.append(buffer, got);
    }
    return content;
}

Status WinFileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    const std::wstring target = widen(path);
    const std::wstring temporary =
        target + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return Status::failure(lastErrorText("CreateFile"));
    }
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
        const Status failure = Status::failure(lastErrorText("WriteFile"));
        file.close();
        DeleteFileW(temporary.c_str());
        return failure;
    }
    file.close();
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Status failure = Status::failure(lastErrorText("MoveFileEx"));
        DeleteFileW(temporary.c_str());
        return failure;
    }
    return Status::success();
}

}  // namespace pontrel
