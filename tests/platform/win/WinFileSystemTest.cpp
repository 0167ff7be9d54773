#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "model/MacroFile.h"
#include "platform/win/WideText.h"
#include "platform/win/WinFileSystem.h"

namespace pontrel::test {
namespace {

// Files and folders in a folder, "." and ".." left out.
int entriesIn(const TempFolder& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(widen(folder.file("*")).c_str(), &found);
    int entries = 0;
    do {
        entries += found.cFileName[0] != L'.' ? 1 : 0;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

struct WinFileSystemTest : ::testing::Test {
    TempFolder folder;
    WinFileSystem files;
};

TEST_F(WinFileSystemTest, ReplaceWritesExactBytesOverAnOldFileAndLeavesNoTemporaryFile) {
    const std::string path = folder.file("Grüße.qmc");
    ASSERT_TRUE(files.replaceFile(path, std::string("old content that is longer")).ok());
    const std::string bytes("a\r\nb\nc\0d\x81", 9);
    ASSERT_TRUE(files.replaceFile(path, bytes).ok());

    EXPECT_EQ(fileBytes(path), bytes);
    EXPECT_TRUE(files.exists(path));
    EXPECT_EQ(entriesIn(folder), 1);
}

TEST_F(WinFileSystemTest, AFailedReplaceIsReportedAndLeavesNothingBehind) {
    EXPECT_FALSE(files.replaceFile(folder.file("nicht-da\\a.qmc"), "x").ok());

    // A folder in the target's place cannot be replaced by a file.
    const std::string taken = folder.file("ordner.qmc");
    ASSERT_TRUE(CreateDirectoryW(widen(taken).c_str(), nullptr));
    EXPECT_FALSE(files.replaceFile(taken, "new").ok());
    EXPECT_EQ(GetFileAttributesW(widen(taken).c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(entriesIn(folder), 1);
    RemoveDirectoryW(widen(taken).c_str());
}

TEST_F(WinFileSystemTest, ReadsAtMostTheLimitAndNothingForMissingFilesOrFolders) {
    const std::string path = folder.file("data.bin");
    ASSERT_TRUE(files.replaceFile(path, "0123456789").ok());
    EXPECT_EQ(files.readFile(path, 4), "0123");
    EXPECT_EQ(files.readFile(path, 100), "0123456789");
    EXPECT_FALSE(files.readFile(folder.file("missing"), 10).has_value());
    EXPECT_FALSE(files.exists(folder.file("missing")));
    CreateDirectoryW(widen(folder.file("sub")).c_str(), nullptr);
    EXPECT_FALSE(files.exists(folder.file("sub")));
    RemoveDirectoryW(widen(folder.file("sub")).c_str());
}

// The same macro saved by either build gives the same bytes: the files were written by the Linux
// build's codec.
TEST_F(WinFileSystemTest, SavedMacroFilesAreByteIdenticalToTheLinuxBuilds) {
    std::vector<std::string> records{
        "code:|000|wait:|500|loop:|2|start:|F1|stop:|ESC|",
        "code:|004|text:|Grüße aus Köln{ENTER}|",
        "code:|002|x:|640|y:|480|",
        "code:|006|path:|C:\\Programme\\Editor.exe|",
        "code:|009|path:|C:\\Bilder\\Schnappschuss{CODE5}.jpg <90%>|",
    };
    for (const bool ansi : {true, false}) {
        SCOPED_TRACE(ansi ? "Windows-1252" : "UTF-8");
        if (!ansi) {
            records[1] = "code:|004|text:|Pfeil → und Grüße|";
        }
        const std::string path = folder.file("makro.qmc");
        ASSERT_TRUE(files.replaceFile(path, encodeMacroFile(records)).ok());
        const std::string expected =
            fileBytes(narrow(programFolder()) + (ansi ? "ansi.qmc" : "utf8.qmc"));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(fileBytes(path), expected);
    }
}

}  // namespace
}  // namespace pontrel::test
