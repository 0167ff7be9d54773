#include "support/FakePlatform.h"

#include <algorithm>
#include <utility>

#include "engine/KeyTranscript.h"

namespace pontrel::test {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A stand-in for a picture file: its size and pixels as text, enough to compare captures.
std::string serialise(const Bitmap& image) {
    std::string bytes = std::to_string(image.width) + "x" + std::to_string(image.height) + ":";
    for (const std::uint32_t pixel : image.pixels) {
        bytes += std::to_string(pixel) + ",";
    }
    return bytes;
}

}  // namespace

Status CallRecorder::answer(std::string line) {
    const bool fails =
        std::any_of(failing_.begin(), failing_.end(),
                    [&](const std::string& prefix) { return line.starts_with(prefix); });
    log_.push_back(std::move(line));
    return fails ? Status::failure("refused by the test") : Status::success();
}

void FakeInput::press(int virtualKey) {
    keys_[virtualKey] = keyDownNow | keyPressedSinceLastQuery;
    if (keyChanged_) {
        keyChanged_();
    }
}

void FakeInput::release(int virtualKey) {
    keys_[virtualKey] &= ~keyDownNow;
    if (keyChanged_) {
        keyChanged_();
    }
}

bool FakeInput::watchKeyChanges(std::function<void()> onChange) {
    keyChanged_ = tellsKeyChanges ? std::move(onChange) : nullptr;
    return tellsKeyChanges;
}

std::uint16_t FakeInput::asyncKeyState(int virtualKey) {
    ++keyStateReads;
    std::uint16_t& state = keys_[virtualKey];
    const std::uint16_t result = state;
    state &= ~keyPressedSinceLastQuery;
    return result;
}

Status FakeInput::setCursorPos(int x, int y) {
    Status status = log_.answer("move " + std::to_string(x) + "," + std::to_string(y));
    if (status.ok()) {
        cursor = {x, y};
    }
    return status;
}

Status FakeInput::mouseEvent(int flags) {
    return log_.answer("mouse " + std::to_string(flags));
}

Status FakeInput::sendKeys(const KeyActions& actions) {
    for (const KeyAction& action : actions) {
        log_.note(describe(action));
    }
    return Status::success();
}

Status FakeInput::blockInput(bool block) {
    Status status = log_.answer(block ? "block input" : "release input");
    if (status.ok()) {
        blocked = block;
    }
    return status;
}

void FakeInput::cancelQueuedInput() {
    log_.note("cancel queued input");
}

void FakeInput::drainQueuedInput() {
    log_.note("drain queued input");
}

Bitmap FakeScreen::capture(int x, int y, int width, int height) {
    Bitmap image{width, height, {}};
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int sx = x + column;
            const int sy = y + row;
            const bool inside = sx >= 0 && sy >= 0 && sx < size.width && sy < size.height;
            image.pixels.push_back(inside ? pixelAt(sx, sy) : 0u);
        }
    }
    return image;
}

Status FakeScreen::writeBitmapFile(const Bitmap& image, const std::string& path) {
    Status status = log_.answer("bmp " + quoted(path));
    return status.ok() ? files_.replaceFile(path, serialise(image)) : status;
}

Status FakeScreen::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    Status status = log_.answer("jpeg " + quoted(path) + " " + std::to_string(quality));
    return status.ok() ? files_.replaceFile(path, serialise(image)) : status;
}

Status FakeSystem::startProgram(const std::string& commandLine) {
    return log_.answer("program " + quoted(commandLine));
}

Status FakeSystem::lockWorkstation() {
    return log_.answer("lock");
}

Status FakeSystem::reboot() {
    return log_.answer("reboot");
}

Status FakeSystem::shutdown() {
    return log_.answer("shutdown");
}

Status FakeSystem::monitorOff() {
    return log_.answer("monitor off");
}

Status FakeSystem::mciSendString(const std::string& command, std::string* answer) {
    if (answer != nullptr) {
        answer->clear();
    }
    return log_.answer("mci " + quoted(command));
}

Status FakeClipboard::clear() {
    Status status = log_.answer("clipboard clear");
    if (status.ok()) {
        text.clear();
    }
    return status;
}

Status FakeClipboard::setText(const std::string& newText) {
    Status status = log_.answer("clipboard " + quoted(newText));
    if (status.ok()) {
        text = newText;
    }
    return status;
}

MessageAnswer FakeDialogs::messageBox(const std::string& text, const std::string& title,
                                      MessageButtons buttons, MessageIcon icon) {
    log_.note("message " + quoted(text) + " title " + quoted(title) +
              (buttons == MessageButtons::YesNo ? " yes/no" : " ok") +
              (icon == MessageIcon::Question ? " question" : "") +
              (icon == MessageIcon::Critical ? " critical" : ""));
    if (whileMessageBoxOpen) {
        whileMessageBoxOpen();
    }
    MessageAnswer answer =
        buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    return answer;
}

bool FakeDialogs::choose(CommonDialog& dialog, const char* kind) {
    log_.note(std::string(kind) + " " + dialog.name + " " + quoted(dialog.filter) + " " +
              quoted(dialog.fileName));
    if (chosenFiles.empty() || !chosenFiles.front()) {
        if (!chosenFiles.empty()) {
            chosenFiles.pop_front();
        }
        return false;
    }
    dialog.fileName = *chosenFiles.front();
    chosenFiles.pop_front();
    return true;
}

bool FakeDialogs::showOpen(CommonDialog& dialog) {
    return choose(dialog, "open dialog");
}

bool FakeDialogs::showSave(CommonDialog& dialog) {
    return choose(dialog, "save dialog");
}

std::optional<ScreenPoint> FakeDialogs::pickPoint(const Bitmap& screen) {
    log_.note("pick point on " + std::to_string(screen.width) + "x" +
              std::to_string(screen.height));
    if (whilePickerOpen) {
        whilePickerOpen();
    }
    std::optional<ScreenPoint> point;
    if (!pickedPoints.empty()) {
        point = pickedPoints.front();
        pickedPoints.pop_front();
    }
    return point;
}

Status FakeWindow::setOpacity(int alpha) {
    Status status = log_.answer("opacity " + std::to_string(alpha));
    if (status.ok()) {
        opacity = alpha;
    }
    return status;
}

Status FakeWindow::setTopmost(bool on) {
    Status status = log_.answer(on ? "topmost on" : "topmost off");
    if (status.ok()) {
        topmost = on;
    }
    return status;
}

void FakeWindow::popupMenu(Menu& menu) {
    log_.note("popup " + menu.name());
    for (MenuItem* item : menu.items()) {
        if (item->name() == menuChoice && item->enabled()) {
            item->click();
        }
    }
}

double FakeEnvironment::randomUnit() {
    if (randomValues.empty()) {
        return 0.5;
    }
    const double value = randomValues.front();
    randomValues.pop_front();
    return value;
}

void FakeEnvironment::exitProcess(int code) {
    exited = true;
    log_.note("exit " + std::to_string(code));
}

Status FakeEnvironment::openUrl(const std::string& url) {
    return log_.answer("open url " + quoted(url));
}

void FakeEnvironment::writeLog(const std::string& line) {
    log_.note("log " + quoted(line));
}

std::optional<std::string> FakeFiles::readFile(const std::string& path, std::size_t maxBytes) {
    ++reads[path];
    const auto found = files.find(path);
    if (found == files.end()) {
        return std::nullopt;
    }
    return found->second.substr(0, maxBytes);
}

Status FakeFiles::replaceFile(const std::string& path, std::string_view bytes) {
    if (unwritable.count(path) != 0) {
        return Status::failure("not writable: " + path);
    }
    files[path] = std::string(bytes);
    return Status::success();
}

Status FakeRecorder::startRecording() {
    log_.note("recording on");
    if (!reason.empty()) {
        return Status::failure(reason);
    }
    recording = true;
    return Status::success();
}

std::vector<RecordedInput> FakeRecorder::takeRecorded() {
    return std::exchange(seen_, {});
}

void FakeRecorder::stopRecording() {
    log_.note("recording off");
    recording = false;
    seen_.clear();
}

void FakeRecorder::user(const RecordedInput& input) {
    if (recording) {
        seen_.push_back(input);
    }
}

FakePlatform::FakePlatform()
    : platform{clock,   input,  screen,      system, clipboard,
               dialogs, window, environment, files,  recorder} {}

Transcript FakePlatform::take() {
    return std::exchange(log, {});
}

}  // namespace pontrel::test
