#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/linux/PosixFileSystem.h"
#include "platform/linux/TempFolder.h"

namespace pontrel {
namespace {

using test::readText;
using test::writeText;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

class PosixFileSystemTest : public testing::Test {
protected:
    // Only the target may be in the folder after a replace: no temporary file is left behind.
    void expectOnlyFiles(std::size_t count) {
        std::size_t found = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.path())) {
            ++found;
        }
        EXPECT_EQ(found, count);
    }

    test::TempFolder folder;
    PosixFileSystem files;
};

TEST_F(PosixFileSystemTest, ReadsAtMostTheBoundAndOnlyRegularFiles) {
    writeText(folder / "macro.qmc", "0123456789");
    writeText(folder / "empty.qmc", "");
    EXPECT_EQ(files.readFile(folder / "macro.qmc", 4), "0123");
    EXPECT_EQ(files.readFile(folder / "macro.qmc", 100), "0123456789");
    EXPECT_EQ(files.readFile(folder / "macro.qmc", 0), "");
    EXPECT_EQ(files.readFile(folder / "empty.qmc", 100), "");
    EXPECT_EQ(files.readFile(folder / "missing.qmc", 100), std::nullopt);
    EXPECT_EQ(files.readFile(folder.path(), 100), std::nullopt);
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(files.readFile(folder / "pipe", 100), std::nullopt);

    EXPECT_TRUE(files.exists(folder / "empty.qmc"));
    EXPECT_FALSE(files.exists(folder / "missing.qmc"));
    EXPECT_FALSE(files.exists(folder.path()));
}

TEST_F(PosixFileSystemTest, ReplaceWritesNewAndExistingFilesKeepingTheMode) {
    const std::string path = folder / "macro.qmc";
    ASSERT_TRUE(files.replaceFile(path, "first\r\n").ok());
    EXPECT_EQ(readText(path), "first\r\n");
    EXPECT_EQ(
        modeOf(path), 0666 & ~[] {
            const mode_t mask = umask(0);
            umask(mask);
            return mask;
        }());

    chmod(path.c_str(), 0640);
    ASSERT_TRUE(files.replaceFile(path, "second").ok());
    EXPECT_EQ(readText(path), "second");
    EXPECT_EQ(modeOf(path), 0640u);
    expectOnlyFiles(1);

    // A relative path means the current folder.
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    ASSERT_TRUE(files.replaceFile("macro.qmc", "third").ok());
    std::filesystem::current_path(saved);
    EXPECT_EQ(readText(path), "third");
}

TEST_F(PosixFileSystemTest, ReplaceWritesThroughSymbolicLinks) {
    std::filesystem::create_directory(folder / "real");
    writeText(folder / "real/macro.qmc", "old", 0600);
    std::filesystem::create_symlink("real/macro.qmc", folder / "link.qmc");
    std::filesystem::create_symlink(folder / "link.qmc", folder / "link2.qmc");
    std::filesystem::create_symlink("real/new.qmc", folder / "dangling.qmc");

    ASSERT_TRUE(files.replaceFile(folder / "link2.qmc", "new").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.qmc"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link2.qmc"));
    EXPECT_EQ(readText(folder / "real/macro.qmc"), "new");
    EXPECT_EQ(modeOf(folder / "real/macro.qmc"), 0600u);

    ASSERT_TRUE(files.replaceFile(folder / "dangling.qmc", "created").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "dangling.qmc"));
    EXPECT_EQ(readText(folder / "real/new.qmc"), "created");
}

TEST_F(PosixFileSystemTest, AFailedReplaceLeavesTheOldFileAsItWas) {
    const std::string path = folder / "macro.qmc";
    writeText(path, "old contents", 0644);
    // A path under a regular file, and a directory in the target's place.
    EXPECT_FALSE(files.replaceFile(path + "/x.qmc", "new").ok());
    std::filesystem::create_directory(folder / "dir.qmc");
    EXPECT_FALSE(files.replaceFile(folder / "dir.qmc", "new").ok());

    // A write that fails halfway (a file size limit binds root too).
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldSignal = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const Status big = files.replaceFile(path, std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldSignal);

    EXPECT_FALSE(big.ok());
    EXPECT_EQ(readText(path), "old contents");
    expectOnlyFiles(2);
}

// Runs check as an unprivileged user (in a child when we are root, since root ignores modes);
// true when it returned true.
bool runUnprivileged(const std::function<bool()>& check) {
    if (geteuid() != 0) {
        return check();
    }
    const pid_t child = fork();
    if (child == 0) {
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(PosixFileSystemTest, AReadOnlyFolderGetsTheFileRewrittenInPlace) {
    const std::string path = folder / "locked/macro.qmc";
    const std::string readOnly = folder / "locked/read-only.qmc";
    std::filesystem::create_directory(folder / "locked");
    writeText(path, "old contents that are longer", 0666);
    writeText(readOnly, "keep", 0444);
    chmod((folder / "locked").c_str(), 0555);
    chmod(folder.path().c_str(), 0755);  // reachable for the unprivileged user

    EXPECT_TRUE(runUnprivileged([&] {
        PosixFileSystem unprivileged;
        return unprivileged.replaceFile(path, "new").ok() &&
               !unprivileged.replaceFile(readOnly, "x").ok() &&
               !unprivileged.replaceFile(folder / "locked/new.qmc", "x").ok();
    }));
    EXPECT_EQ(readText(path), "new");
    EXPECT_EQ(readText(readOnly), "keep");
    EXPECT_FALSE(std::filesystem::exists(folder / "locked/new.qmc"));
}

TEST_F(PosixFileSystemTest, AFileWeMayNotWriteIsNotReplaced) {
    const std::string path = folder / "macro.qmc";
    writeText(path, "protected", 0444);
    chmod(folder.path().c_str(), 0777);
    EXPECT_TRUE(runUnprivileged([&] { return !PosixFileSystem().replaceFile(path, "new").ok(); }));
    EXPECT_EQ(readText(path), "protected");
}

}  // namespace
}  // namespace pontrel
