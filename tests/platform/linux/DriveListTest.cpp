#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/DriveList.h"
#include "platform/linux/TempFolder.h"

namespace pontrel {
namespace {

using Drives = std::vector<std::string>;

TEST(DriveListTest, ReadsTheDriveNamesOfTheKernelInfoInNameOrder) {
    const struct {
        const char* info;
        Drives drives;
    } cases[] = {
        {"CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
         "drive name:\t\tsr1\tsr0\n"
         "drive speed:\t\t24\t48\n"
         "Can close tray:\t\t1\t1\n",
         {"/dev/sr0", "/dev/sr1"}},
        {"drive name:\tsr10\tsr2\tsr0\n", {"/dev/sr0", "/dev/sr2", "/dev/sr10"}},
        {"drive name:\thdc\n", {"/dev/hdc"}},
        {"CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\ndrive name:\n", {}},
        {"drive speed:\t\t24\n", {}},
        {"drive name:\t../sda\tsr0\n", {"/dev/sr0"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cdromDevicesFromInfo(c.info), c.drives) << c.info;
    }
}

TEST(DriveListTest, FallsBackToTheBlockDevicesWhenTheInfoNamesNoDrive) {
    test::TempFolder folder;
    for (const char* name : {"sda", "sr1", "sr0", "loop0", "srx", "sr"}) {
        std::filesystem::create_directory(folder / name);
    }
    const Drives fromBlocks{"/dev/sr0", "/dev/sr1"};
    EXPECT_EQ(cdromDevices(folder / "no info", folder.path()), fromBlocks);
    test::writeText(folder / "empty info", "drive name:\n");
    EXPECT_EQ(cdromDevices(folder / "empty info", folder.path()), fromBlocks);
    test::writeText(folder / "info", "drive name:\tsr3\n");
    EXPECT_EQ(cdromDevices(folder / "info", folder.path()), Drives{"/dev/sr3"});
    EXPECT_EQ(cdromDevices(folder / "no info", folder / "no block folder"), Drives{});
}

}  // namespace
}  // namespace pontrel
