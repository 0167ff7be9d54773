#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/VirtualClock.h"

namespace pontrel::test {

// The transcript every fake service writes to, one readable line per call ("move 10,20",
// "down Shift", "clipboard \"15\"").
using Transcript = std::vector<std::string>;

// Writes each call's line into the transcript and answers it. A call fails where a test asked for
// it: failCalls("program") makes every call whose line starts with "program" report a failure.
class CallRecorder {
public:
    explicit CallRecorder(Transcript& log) : log_(log) {}

    void failCalls(std::string linePrefix) { failing_.push_back(std::move(linePrefix)); }
    void note(std::string line) { log_.push_back(std::move(line)); }
    Status answer(std::string line);

private:
    Transcript& log_;
    std::vector<std::string> failing_;
};

class FakeInput : public InputService {
public:
    explicit FakeInput(CallRecorder& log) : log_(log) {}

    // Another program's key press and release, as the global key state sees them.
    void press(int virtualKey);
    void release(int virtualKey);

    std::uint16_t asyncKeyState(int virtualKey) override;
    bool watchKeyChanges(std::function<void()> onChange) override;
    ScreenPoint cursorPos() override { return cursor; }
    bool knowsPointerEverywhere() override { return pointerEverywhere; }
    Status setCursorPos(int x, int y) override;
    Status mouseEvent(int flags) override;
    Status sendKeys(const KeyActions& actions) override;
    Status blockInput(bool block) override;
    void cancelQueuedInput() override;
    void drainQueuedInput() override;

    ScreenPoint cursor;
    // False: a desktop that tells the pointer only over our own window.
    bool pointerEverywhere = true;
    bool blocked = false;
    // False: a backend that cannot tell of key changes, so its callers poll.
    bool tellsKeyChanges = true;
    // How often the key state was read.
    int keyStateReads = 0;

private:
    CallRecorder& log_;
    std::map<int, std::uint16_t> keys_;
    std::function<void()> keyChanged_;
};

class FakeScreen : public ScreenService {
public:
    FakeScreen(CallRecorder& log, class FakeFiles& files) : log_(log), files_(files) {}

    ScreenSize screenSize() override { return size; }
    Bitmap capture(int x, int y, int width, int height) override;
    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

    ScreenSize size{1920, 1080};
    // The colour of every screen pixel; tests change it to simulate another program drawing.
    std::function<std::uint32_t(int x, int y)> pixelAt = [](int, int) { return 0x00FFFFFFu; };

private:
    CallRecorder& log_;
    FakeFiles& files_;
};

class FakeSystem : public SystemService {
public:
    explicit FakeSystem(CallRecorder& log) : log_(log) {}

    Status startProgram(const std::string& commandLine) override;
    Status lockWorkstation() override;
    Status reboot() override;
    Status shutdown() override;
    Status monitorOff() override;
    std::vector<std::string> cdDriveRoots() override { return driveRoots; }
    Status mciSendString(const std::string& command, std::string* answer) override;

    std::vector<std::string> driveRoots;

private:
    CallRecorder& log_;
};

class FakeClipboard : public ClipboardService {
public:
    explicit FakeClipboard(CallRecorder& log) : log_(log) {}

    Status clear() override;
    Status setText(const std::string& text) override;

    std::string text;

private:
    CallRecorder& log_;
};

class FakeDialogs : public DialogService {
public:
    explicit FakeDialogs(CallRecorder& log) : log_(log) {}

    MessageAnswer messageBox(const std::string& text, const std::string& title,
                             MessageButtons buttons, MessageIcon icon) override;
    bool showOpen(CommonDialog& dialog) override;
    bool showSave(CommonDialog& dialog) override;
    bool offersPointPicker() override { return pointPicker; }
    std::optional<ScreenPoint> pickPoint(const Bitmap& screen) override;

    // Answers of the next message boxes (Ok or Yes when none is queued).
    std::deque<MessageAnswer> answers;
    // Chosen files of the next file dialogs; nothing means cancel (the default when empty).
    std::deque<std::optional<std::string>> chosenFiles;
    // Runs while a message box is open, as a nested event loop would.
    std::function<void()> whileMessageBoxOpen;
    bool pointPicker = true;
    // Points picked on the next pictures; nothing means cancel (the default when empty).
    std::deque<std::optional<ScreenPoint>> pickedPoints;
    // Runs while the point picker is open.
    std::function<void()> whilePickerOpen;

private:
    bool choose(CommonDialog& dialog, const char* kind);

    CallRecorder& log_;
};

class FakeWindow : public WindowService {
public:
    explicit FakeWindow(CallRecorder& log) : log_(log) {}

    Status setOpacity(int alpha) override;
    Status setTopmost(bool topmost) override;
    Rect frameRect() override { return frame; }
    bool isActive() override { return active; }
    int twipsPerPixelX() override { return 15; }
    int twipsPerPixelY() override { return 15; }
    void popupMenu(Menu& menu) override;

    Rect frame{100, 100, 305, 478};
    bool active = false;
    int opacity = 255;
    bool topmost = false;
    // The entry a shown pop-up menu picks (by name); empty closes it without a choice.
    std::string menuChoice;

private:
    CallRecorder& log_;
};

class FakeEnvironment : public Environment {
public:
    explicit FakeEnvironment(CallRecorder& log) : log_(log) {}

    std::string commandLine() override { return commandLineText; }
    std::string currentDirectory() override { return directory; }
    std::string pathSeparator() override { return "/"; }
    std::string programFileName() override { return "Pontrel"; }
    std::string decimalSeparator() override { return ","; }
    double randomUnit() override;
    void exitProcess(int code) override;
    Status openUrl(const std::string& url) override;
    void writeLog(const std::string& line) override;

    std::string commandLineText;
    std::string directory = "/daten";
    std::deque<double> randomValues;
    bool exited = false;

private:
    CallRecorder& log_;
};

class FakeFiles : public FileSystem {
public:
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) override;
    Status replaceFile(const std::string& path, std::string_view bytes) override;

    std::map<std::string, std::string> files;
    std::set<std::string> unwritable;
    // How often each path was read.
    std::map<std::string, int> reads;
};

class FakeRecorder : public RecorderService {
public:
    explicit FakeRecorder(CallRecorder& log) : log_(log) {}

    std::string unavailableReason() override { return reason; }
    Status startRecording() override;
    std::vector<RecordedInput> takeRecorded() override;
    void stopRecording() override;

    // What the user does; seen only while a recording runs.
    void user(const RecordedInput& input);

    std::string reason;
    bool recording = false;

private:
    CallRecorder& log_;
    std::vector<RecordedInput> seen_;
};

// Every service faked, recording into one transcript, on a virtual clock.
struct FakePlatform {
    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Takes the transcript so far and starts a new one.
    Transcript take();

    Transcript log;
    CallRecorder calls{log};
    VirtualClock clock;
    FakeInput input{calls};
    FakeFiles files;
    FakeScreen screen{calls, files};
    FakeSystem system{calls};
    FakeClipboard clipboard{calls};
    FakeDialogs dialogs{calls};
    FakeWindow window{calls};
    FakeEnvironment environment{calls};
    FakeRecorder recorder{calls};
    Platform platform;
};

}  // namespace pontrel::test
