#include "support/FakePlatform.h"

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

void FakeInput::press(int virtualKey) {
    keys_[virtualKey] = keyDownNow | keyPressedSinceLastQuery;
}

void FakeInput::release(int virtualKey) {
    keys_[virtualKey] &= ~keyDownNow;
}

std::uint16_t FakeInput::asyncKeyState(int virtualKey) {
    std::uint16_t& state = keys_[virtualKey];
    const std::uint16_t result = state;
    state &= ~keyPressedSinceLastQuery;
    return result;
}

Status FakeInput::setCursorPos(int x, int y) {
    cursor = {x, y};
    log_.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    return Status::success();
}

Status FakeInput::mouseEvent(int flags) {
    log_.push_back("mouse " + std::to_string(flags));
    return Status::success();
}

Status FakeInput::sendKeys(const KeyActions& actions) {
    for (const KeyAction& action : actions) {
        log_.push_back(describe(action));
    }
    return Status::success();
}

Status FakeInput::blockInput(bool block) {
    blocked = block;
    log_.push_back(block ? "block input" : "release input");
    return Status::success();
}

void FakeInput::cancelQueuedInput() {
    log_.push_back("cancel queued input");
}

void FakeInput::drainQueuedInput() {
    log_.push_back("drain queued input");
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
    log_.push_back("bmp " + quoted(path));
    return files_.replaceFile(path, serialise(image));
}

Status FakeScreen::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    log_.push_back("jpeg " + quoted(path) + " " + std::to_string(quality));
    return files_.replaceFile(path, serialise(image));
}

Status FakeSystem::startProgram(const std::string& commandLine) {
    log_.push_back("program " + quoted(commandLine));
    return Status::success();
}

Status FakeSystem::lockWorkstation() {
    log_.push_back("lock");
    return Status::success();
}

Status FakeSystem::reboot() {
    log_.push_back("reboot");
    return Status::success();
}

Status FakeSystem::shutdown() {
    log_.push_back("shutdown");
    return Status::success();
}

Status FakeSystem::monitorOff() {
    log_.push_back("monitor off");
    return Status::success();
}

Status FakeSystem::mciSendString(const std::string& command, std::string* answer) {
    log_.push_back("mci " + quoted(command));
    if (answer != nullptr) {
        answer->clear();
    }
    return Status::success();
}

Status FakeClipboard::clear() {
    text.clear();
    log_.push_back("clipboard clear");
    return Status::success();
}

Status FakeClipboard::setText(const std::string& newText) {
    text = newText;
    log_.push_back("clipboard " + quoted(newText));
    return Status::success();
}

MessageAnswer FakeDialogs::messageBox(const std::string& text, const std::string& title,
                                      MessageButtons buttons, MessageIcon icon) {
    log_.push_back("message " + quoted(text) + " title " + quoted(title) +
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
    log_.push_back(std::string(kind) + " " + dialog.name + " " + quoted(dialog.filter) + " " +
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

Status FakeWindow::setOpacity(int alpha) {
    opacity = alpha;
    log_.push_back("opacity " + std::to_string(alpha));
    return Status::success();
}

Status FakeWindow::setTopmost(bool on) {
    topmost = on;
    log_.push_back(on ? "topmost on" : "topmost off");
    return Status::success();
}

void FakeWindow::popupMenu(Menu& menu) {
    log_.push_back("popup " + menu.name());
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
    log_.push_back("exit " + std::to_string(code));
}

Status FakeEnvironment::openUrl(const std::string& url) {
    log_.push_back("open url " + quoted(url));
    return Status::success();
}

void FakeEnvironment::writeLog(const std::string& line) {
    log_.push_back("log " + line);
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
    log_.push_back("recording on");
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
    log_.push_back("recording off");
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
