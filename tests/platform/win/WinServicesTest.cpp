#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "platform/win/WideText.h"
#include "platform/win/WinClipboardService.h"
#include "platform/win/WinDialogs.h"
#include "platform/win/WinEnvironment.h"
#include "platform/win/WinInputService.h"
#include "platform/win/WinScheduler.h"
#include "platform/win/WinSystemService.h"

namespace pontrel::test {
namespace {

TEST(WinSchedulerTest, TimersFireRepeatedlyUntilStoppedAlsoFromInsideTheirCallback) {
    WinScheduler scheduler;
    int fast = 0;
    int once = 0;
    Scheduler::TimerId onceId = 0;
    const Scheduler::TimerId fastId = scheduler.startTimer(10, [&] { ++fast; });
    onceId = scheduler.startTimer(10, [&] {
        ++once;
        scheduler.stopTimer(onceId);
    });
    ASSERT_TRUE(pumpUntil([&] { return fast >= 3; }));
    scheduler.stopTimer(fastId);
    const int stoppedAt = fast;
    pumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(fast, stoppedAt);
    EXPECT_EQ(once, 1);
}

TEST(WinClipboardTest, HoldsTheCounterTextAsUnicodeAndCanBeCleared) {
    WinInputService input;
    WinClipboardService clipboard(input);
    const auto clipboardText = [] {
        std::wstring text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const wchar_t*>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
        return narrow(text);
    };
    for (const std::string counter : {"15", "-1,5", "99999999999999", "Zähler €"}) {
        ASSERT_TRUE(clipboard.clear().ok());
        ASSERT_TRUE(clipboard.setText(counter).ok());
        EXPECT_EQ(clipboardText(), counter);
    }
    ASSERT_TRUE(clipboard.clear().ok());
    EXPECT_EQ(clipboardText(), "");
}

TEST(WinSystemServiceTest, FailuresOfTheSystemActionsAreReportedNotHidden) {
    HWND window = nullptr;
    WinSystemService system([&window] { return window; });

    EXPECT_FALSE(system.startProgram("").ok());
    EXPECT_FALSE(system.startProgram("C:\\gibt es nicht\\kein programm.exe").ok());
    EXPECT_FALSE(system.monitorOff().ok());  // no window yet
    // Without an open device the tray commands fail; wine has no CD audio driver at all.
    std::string answer = "old";
    EXPECT_FALSE(system.mciSendString("set cd door open", &answer).ok());
    EXPECT_FALSE(system.mciSendString("close cd", nullptr).ok());
    if (runningUnderWine()) {
        EXPECT_FALSE(system.lockWorkstation().ok());
    }
}

TEST(WinSystemServiceTest, StartsAProgramFromACommandLineAndListsOnlyCdDriveRoots) {
    WinSystemService system([] { return HWND{}; });
    EXPECT_TRUE(system.startProgram("cmd.exe /c exit 0").ok());
    for (const std::string& root : system.cdDriveRoots()) {
        ASSERT_EQ(root.size(), 3u);
        EXPECT_EQ(root.substr(1), ":\\");
        EXPECT_EQ(GetDriveTypeA(root.c_str()), static_cast<UINT>(DRIVE_CDROM));
    }
}

TEST(WinInputBlockTest, ARefusedBlockIsReportedAsFailure) {
    if (!runningUnderWine()) {
        GTEST_SKIP() << "a real BlockInput would lock this machine's mouse and keyboard";
    }
    WinInputService input;
    EXPECT_FALSE(input.blockInput(true).ok());
    EXPECT_FALSE(input.blockInput(false).ok());
}

TEST(WinEnvironmentTest, TheCommandLineIsWhatFollowsTheProgramNameAsPassed) {
    const struct {
        const wchar_t* line;
        const wchar_t* arguments;
    } cases[] = {
        {L"Pontrel.exe", L""},
        {L"Pontrel.exe  C:\\a b.qmc", L"C:\\a b.qmc"},
        {L"\"C:\\Program Files\\Pontrel.exe\" \"C:\\x y.qmc\"", L"\"C:\\x y.qmc\""},
        {L"\"C:\\Pontrel.exe\"\t\"a.qmc\" extra  ", L"\"a.qmc\" extra  "},
        {L"\"C:\\unclosed.exe", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(argumentsOf(c.line), c.arguments) << narrow(c.line);
    }
}

TEST(WinEnvironmentTest, ReportsThisPlatformsSeparatorsAndDirectory) {
    WinEnvironment environment;
    EXPECT_EQ(environment.pathSeparator(), "\\");
    EXPECT_EQ(environment.programFileName(), "Pontrel.exe");
    const std::string separator = environment.decimalSeparator();
    EXPECT_TRUE(separator == "." || separator == ",") << separator;
    EXPECT_EQ(environment.currentDirectory().substr(1, 2), ":\\");
    for (int i = 0; i < 100; ++i) {
        const double value = environment.randomUnit();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
    }
}

TEST(WinDialogsTest, ClassicFiltersBecomeNulSeparatedPairs) {
    using namespace std::string_literals;
    EXPECT_EQ(win32FileFilter(""), L"");
    EXPECT_EQ(win32FileFilter("Makro (*.qmc)|*.qmc"), L"Makro (*.qmc)\0*.qmc\0\0"s);
    EXPECT_EQ(win32FileFilter("Bilder|*.bmp;*.jpg|Alle|*.*"),
              L"Bilder\0*.bmp;*.jpg\0Alle\0*.*\0\0"s);
    EXPECT_EQ(win32FileFilter("Programme|*.exe|ohne Muster"), L"Programme\0*.exe\0\0"s);
}

}  // namespace
}  // namespace pontrel::test
