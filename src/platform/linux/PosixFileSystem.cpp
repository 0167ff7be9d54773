#include "platform/linux/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace pontrel {

namespace {

Status errnoFailure(const std::string& what, int error) {
    return Status::failure(what + ": " + std::strerror(error));
}

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, reporting the error a delayed write may only show here.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path finally names, following symbolic links (up to the kernel's limit); the last
// link may point to a file that does not exist yet.
Status followLinks(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return Status::success();
        }
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096), '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return errnoFailure(path, errno);
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : folderOf(path) + "/" + target;
    }
    return errnoFailure(path, ELOOP);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new file beside the target, created with the umask's mode like any new file.
int createTemporary(const std::string& target, std::string& name) {
    std::random_device seed;
    std::mt19937 random(seed());
    const std::string folder = folderOf(target);
    const std::string base = target.substr(target.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/." + base + "." + std::to_string(random() % 1000000000) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Rewrites the file itself: the new bytes first, then the length, so that no more room is
// needed than the larger of old and new.
Status rewriteInPlace(const std::string& target, std::string_view bytes) {
    FileDescriptor file(open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return errnoFailure(target, errno);
    }
    if (!writeAll(file.get(), bytes) ||
        ftruncate(file.get(), static_cast<off_t>(bytes.size())) != 0 || fsync(file.get()) != 0 ||
        file.close() != 0) {
        return errnoFailure(target, errno);
    }
    return Status::success();
}

}  // namespace

bool PosixFileSystem::exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> PosixFileSystem::readFile(const std::string& path,
                                                     std::size_t maxBytes) {
    // O_NONBLOCK: a named pipe must not hang us; it is refused below anyway.
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const ssize_t got =
            read(file.get(), buffer, std::min(sizeof buffer, maxBytes - bytes.size()));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;  // a read error ends the file where it happened
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

Status PosixFileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    std::string target = path;
    if (Status followed = followLinks(target); !followed.ok()) {
        return followed;
    }
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        return Status::failure(target + ": not a regular file");
    }
    if (replacing && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return errnoFailure(target, errno);
    }

    std::string temporary;
    FileDescriptor file(createTemporary(target, temporary));
    if (file.get() < 0) {
        const int error = errno;
        if (replacing && (error == EACCES || error == EPERM)) {
            return rewriteInPlace(target, bytes);
        }
        return errnoFailure(folderOf(target), error);
    }
    if (replacing) {
        // The owner can only be kept where we may change it; the mode always.
        if (old.st_uid != geteuid() || old.st_gid != getegid()) {
            [[maybe_unused]] const int ignored = fchown(file.get(), old.st_uid, old.st_gid);
        }
        fchmod(file.get(), old.st_mode & 07777);
    }
    if (!writeAll(file.get(), bytes) || fsync(file.get()) != 0 || file.close() != 0 ||
        rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return errnoFailure(target, error);
    }
    // Make the rename itself durable; a folder that cannot be synced changes nothing above.
    FileDescriptor folder(open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        fsync(folder.get());
    }
    return Status::success();
}

}  // namespace pontrel
