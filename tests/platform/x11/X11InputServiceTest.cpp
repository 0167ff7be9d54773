#include "platform/x11/X11InputService.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

#include <spawn.h>
#include <sys/wait.h>
#include <atomic>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "engine/KeyTextParser.h"
#include "platform/x11/X11InputBlocker.h"
#include "platform/x11/X11KeyState.h"
#include "platform/x11/XlibReceiver.h"
#include "support/display/XvfbServer.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XTest.h>
#undef Status
#undef None

namespace pontrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// One private Xvfb and one QApplication for the whole program, never the desktop's display.
class DisplayEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        XInitThreads();
        server_ = std::make_unique<test::XvfbServer>();
        setenv("LC_ALL", "C.UTF-8", 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    void TearDown() override {
        app_.reset();
        server_.reset();
    }

private:
    std::unique_ptr<test::XvfbServer> server_;
    int argc_ = 1;
    char name_[16] = "x11_input_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

// Runs Qt's events until `done` holds or the time is up.
template <class Predicate>
bool pumpUntil(Predicate done, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done() || Clock::now() > deadline) {
            loop.quit();
        }
    });
    check.start(1);
    if (!done()) {
        loop.exec();
    }
    return done();
}

void pumpFor(std::chrono::milliseconds time) {
    pumpUntil([] { return false; }, time);
}

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            output.append(buffer, n);
        }
        pclose(pipe);
    }
    return output;
}

KeyActions parsed(const std::string& keyText) {
    KeyTextParse parse = parseKeyText(keyText);
    EXPECT_FALSE(parse.error) << keyText;
    return parse.actions;
}

KeyActions typed(const std::u32string& text) {
    KeyActions actions;
    for (char32_t c : text) {
        actions.push_back(KeyAction{KeyAction::Kind::Type, NamedKey::Enter, c});
    }
    return actions;
}

std::string utf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A program that receives typed text.
class TextReceiver {
public:
    virtual ~TextReceiver() = default;
    virtual void focus() = 0;
    virtual std::string text() = 0;
    virtual void clear() = 0;
};

class XlibTextReceiver : public TextReceiver {
public:
    XlibTextReceiver() : window_(0, 0, 400, 300) {}
    void focus() override { window_.focus(); }
    std::string text() override { return window_.text(); }
    void clear() override { window_.clear(); }

private:
    test::XlibReceiver window_;
};

// A Qt text field: Qt re-reads the keymap on every change notice, so it shows remap races.
class QtTextReceiver : public TextReceiver {
public:
    QtTextReceiver() {
        edit_.setMaxLength(100000);
        edit_.setGeometry(0, 0, 400, 40);
        edit_.show();
    }
    void focus() override {
        pumpUntil([&] { return edit_.windowHandle() && edit_.windowHandle()->isExposed(); }, 5s);
        Display* display = XOpenDisplay(nullptr);
        XSetInputFocus(display, static_cast<Window>(edit_.winId()), RevertToParent, CurrentTime);
        XCloseDisplay(display);
        edit_.activateWindow();
        edit_.setFocus();
        EXPECT_TRUE(pumpUntil([&] { return QApplication::focusWidget() == &edit_; }, 5s));
    }
    std::string text() override { return edit_.text().toStdString(); }
    void clear() override { edit_.clear(); }

private:
    QLineEdit edit_;
};

enum class ReceiverKind { Xlib, Qt };

std::unique_ptr<TextReceiver> makeReceiver(ReceiverKind kind) {
    if (kind == ReceiverKind::Xlib) {
        return std::make_unique<XlibTextReceiver>();
    }
    return std::make_unique<QtTextReceiver>();
}

class X11InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr);
        setLayout("us");
    }
    void TearDown() override {
        service_.reset();
        XCloseDisplay(display_);
    }

    X11InputService& service() {
        if (!service_) {
            service_ = std::make_unique<X11InputService>(keyState_, blocker_);
        }
        return *service_;
    }

    void setLayout(const std::string& arguments) {
        ASSERT_EQ(std::system(("setxkbmap " + arguments).c_str()), 0) << arguments;
    }

    // The keymaps of the core keyboard and of the XTEST keyboard, as xkbcomp writes them.
    std::string keymaps() {
        const std::string display = std::getenv("DISPLAY");
        return run("xkbcomp -xkb " + display + " - 2>/dev/null") +
               run("xkbcomp -i " + std::to_string(xtestKeyboard()) + " -xkb " + display +
                   " - 2>/dev/null");
    }

    int xtestKeyboard() {
        int count = 0;
        int id = 0;
        XDeviceInfo* devices = XListInputDevices(display_, &count);
        for (int i = 0; i < count; ++i) {
            if (std::string(devices[i].name) == "Virtual core XTEST keyboard") {
                id = static_cast<int>(devices[i].id);
            }
        }
        XFreeDeviceList(devices);
        return id;
    }

    // The lines in which the keymaps differ from `before`; empty when they are the same.
    std::string keymapChangesSince(const std::string& before) {
        const std::string after = keymaps();
        if (after == before) {
            return {};
        }
        const auto lines = [](const std::string& text) {
            std::multiset<std::string> set;
            std::size_t start = 0;
            for (std::size_t end; (end = text.find('\n', start)) != std::string::npos;
                 start = end + 1) {
                set.insert(text.substr(start, end - start));
            }
            return set;
        };
        const auto old = lines(before);
        const auto now = lines(after);
        std::string changes;
        for (const std::string& line : old) {
            if (now.count(line) < old.count(line)) {
                changes += "- " + line + "\n";
            }
        }
        for (const std::string& line : now) {
            if (old.count(line) < now.count(line)) {
                changes += "+ " + line + "\n";
            }
        }
        return changes.empty() ? "(same lines, other order)" : changes;
    }

    bool anyKeyDown() {
        char keys[32] = {};
        XQueryKeymap(display_, keys);
        for (char byte : keys) {
            if (byte != 0) {
                return true;
            }
        }
        return false;
    }

    XkbStateRec keyboardState() {
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        return state;
    }

    // Sends the actions, waits until `expected` arrived (or nothing more does) and until the
    // service is done, and returns what the receiver got.
    std::string typeInto(TextReceiver& receiver, const KeyActions& actions,
                         const std::string& expected) {
        receiver.clear();
        receiver.focus();
        EXPECT_TRUE(service().sendKeys(actions).ok());
        pumpUntil([&] { return receiver.text().size() >= expected.size(); }, 10s);
        pumpFor(100ms);
        service().drainQueuedInput();
        return receiver.text();
    }

    Display* display_ = nullptr;
    X11KeyState keyState_;
    X11InputBlocker blocker_;
    std::unique_ptr<X11InputService> service_;
};

struct TypingCase {
    const char* keyText;
    const char* expected;    // what a plain Xlib client reads
    const char* expectedQt;  // what a Qt line edit shows; nullptr: same as expected
    const char* layout;      // nullptr: every layout
};

// Key text as the engine hands it over, and what must arrive.
const TypingCase typingCases[] = {
    {"a{ENTER}b{TAB}c{BS}d~", "a\rb\tc\bd\r", "abd", nullptr},
    {"ab{BS}c{LEFT}X{HOME}Y{END}Z{HOME}{DEL}", "ab\bc<Left>X<Home>Y<End>Z<Home>\x7f", "aXcZ",
     nullptr},
    {"{F13}{BREAK}{CLEAR}{HELP}{PRTSC}{ADD}{MULTIPLY}{SUBTRACT}{DIVIDE}",
     "<F13><Break>\v<Help><Print>+*-/", "+*-/", nullptr},
    {"1{+}1=2 {(}ok{)}", "1+1=2 (ok)", nullptr, nullptr},
    {"+a^c", "A\x03", "A", nullptr},
    {"+(ab)c+1", "ABc!", nullptr, nullptr},
    {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F", "äöüÄÖÜß", nullptr, nullptr},
    {"@\xE2\x82\xAC{{}{}}{^}[]\\|{~}{%}`'\"", "@€{}^[]\\|~%`'\"", nullptr, nullptr},
    {"\xC5\x82\xE2\x86\x92\xC5\x91\xC5\x90\xC3\x80\xE4\xB8\xAD\xC2\xB4", "ł→őŐÀ中´", nullptr,
     nullptr},
    {"^%q", "@", nullptr, "de"},
    {"^%{F1}^%{F12}^%{BS}+^%{F2}x", "x", nullptr, nullptr},
};

class TypingTest : public X11InputTest,
                   public ::testing::WithParamInterface<std::tuple<const char*, ReceiverKind>> {};

TEST_P(TypingTest, TextArrivesExactlyAndLeavesTheKeyboardAsItWas) {
    const auto [layout, kind] = GetParam();
    setLayout(layout);
    const std::string before = keymaps();
    auto receiver = makeReceiver(kind);
    for (const TypingCase& c : typingCases) {
        if (c.layout != nullptr && std::string(c.layout) != layout) {
            continue;
        }
        SCOPED_TRACE(c.keyText);
        const std::string expected =
            (kind == ReceiverKind::Qt && c.expectedQt != nullptr) ? c.expectedQt : c.expected;
        EXPECT_EQ(typeInto(*receiver, parsed(c.keyText), expected), expected);
        EXPECT_FALSE(anyKeyDown());
        EXPECT_EQ(keymapChangesSince(before), "");
    }
}

// A mixed German text: the speed of typing what the layout has, and of remapping what it lacks.
TEST_P(TypingTest, ThousandCharactersOfGermanText) {
    const auto [layout, kind] = GetParam();
    setLayout(layout);
    const std::u32string alphabet =
        U"abcdefghijklmnopqrstuvwxyz     ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 .,;:-_!?\"'()/&=+*"
        U"#<>^\\[]{}|äöüÄÖÜß€@";
    std::u32string text;
    unsigned seed = 12345;
    while (text.size() < 1000) {
        seed = seed * 1103515245 + 12345;
        text += alphabet[(seed >> 16) % alphabet.size()];
    }
    const std::string before = keymaps();
    auto receiver = makeReceiver(kind);
    receiver->focus();
    const std::string expected = utf8(text);
    const auto start = Clock::now();
    ASSERT_TRUE(service().sendKeys(typed(text)).ok());
    pumpUntil([&] { return receiver->text().size() >= expected.size(); }, 20s);
    const auto seconds = std::chrono::duration<double>(Clock::now() - start).count();
    service().drainQueuedInput();
    const auto drained = std::chrono::duration<double>(Clock::now() - start).count();
    pumpFor(100ms);
    EXPECT_EQ(receiver->text(), expected);
    EXPECT_FALSE(anyKeyDown());
    EXPECT_EQ(keymapChangesSince(before), "");
    const double rate = static_cast<double>(text.size()) / seconds;
    std::printf(
        "[ measure  ] layout %s, %s receiver: %zu characters arrived in %.3f s = %.0f "
        "chars/s (keymap restored after %.3f s)\n",
        layout, kind == ReceiverKind::Qt ? "Qt" : "Xlib", text.size(), seconds, rate, drained);
    EXPECT_GT(rate, 300.0);

    // The same text from xdotool into the same receiver, for comparison.
    if (std::system("command -v xdotool >/dev/null") == 0) {
        receiver->clear();
        receiver->focus();
        const auto peerStart = Clock::now();
        std::atomic<bool> peerDone{false};
        std::thread peer([&] {
            if (FILE* pipe = popen("xdotool type --delay 0 --file - 2>/dev/null", "w")) {
                fwrite(expected.data(), 1, expected.size(), pipe);
                pclose(pipe);
            }
            peerDone = true;
        });
        pumpUntil([&] { return peerDone.load(); }, 10s);
        pumpUntil([&] { return receiver->text().size() >= expected.size(); }, 1s);
        const auto peerSeconds = std::chrono::duration<double>(Clock::now() - peerStart).count();
        peer.join();
        std::printf(
            "[ measure  ] xdotool type --delay 0, same receiver: %.3f s = %.0f chars/s, "
            "%s\n",
            peerSeconds, static_cast<double>(text.size()) / peerSeconds,
            receiver->text() == expected ? "exact" : "with errors");
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TypingTest,
                         ::testing::Combine(::testing::Values("us", "de"),
                                            ::testing::Values(ReceiverKind::Xlib,
                                                              ReceiverKind::Qt)),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param)) +
                                    (std::get<1>(param.param) == ReceiverKind::Qt ? "_Qt"
                                                                                  : "_Xlib");
                         });

// 300 different characters that no layout has: many batches of remapped keys.
std::u32string longRemappedText() {
    std::u32string text;
    for (char32_t c = U'\u4E00'; c < U'\u4E00' + 300; ++c) {
        text += c;
    }
    return text;
}

// A key of the "physical" Xvfb keyboard, as the user would press it.
void userKey(Display* display, unsigned keycode, bool down) {
    int count = 0;
    XDeviceInfo* devices = XListInputDevices(display, &count);
    for (int i = 0; i < count; ++i) {
        if (std::string(devices[i].name) == "Xvfb keyboard") {
            XDevice* device = XOpenDevice(display, devices[i].id);
            XTestFakeDeviceKeyEvent(display, device, keycode, down ? True : False, nullptr, 0,
                                    CurrentTime);
            XCloseDevice(display, device);
        }
    }
    XFreeDeviceList(devices);
    XSync(display, False);
}

constexpr unsigned shiftKeycode = 50;
constexpr unsigned f7Keycode = 73;

TEST_F(X11InputTest, StopDuringALongTextReleasesEverythingAndRestoresTheKeymap) {
    const std::string before = keymaps();
    XlibTextReceiver receiver;
    receiver.focus();
    const std::u32string text = longRemappedText();
    ASSERT_TRUE(service().sendKeys(typed(text)).ok());
    pumpUntil([&] { return receiver.text().size() > 30; }, 5s);
    service().cancelQueuedInput();
    EXPECT_FALSE(anyKeyDown());
    EXPECT_EQ(keymapChangesSince(before), "");
    pumpFor(200ms);
    const std::string got = receiver.text();
    EXPECT_LT(got.size(), utf8(text).size());
    EXPECT_EQ(got, utf8(text).substr(0, got.size()));

    // The next text is typed as usual.
    receiver.clear();
    ASSERT_TRUE(service().sendKeys(parsed("ok")).ok());
    service().drainQueuedInput();
    EXPECT_TRUE(pumpUntil([&] { return receiver.text() == "ok"; }, 2s)) << receiver.text();
}

TEST_F(X11InputTest, EndingTheServiceDuringATextReleasesEverythingAndRestoresTheKeymap) {
    setLayout("de");
    const std::string before = keymaps();
    XlibTextReceiver receiver;
    receiver.focus();
    // Shift stays down through the whole text.
    KeyActions actions{KeyAction{KeyAction::Kind::Press, NamedKey::Shift, 0}};
    const KeyActions text = typed(longRemappedText());
    actions.insert(actions.end(), text.begin(), text.end());
    ASSERT_TRUE(service().sendKeys(actions).ok());
    pumpUntil([&] { return receiver.text().size() > 30; }, 5s);
    service_.reset();
    EXPECT_FALSE(anyKeyDown());
    EXPECT_EQ(keymapChangesSince(before), "");
}

TEST_F(X11InputTest, DrainReturnsOnceTheTextIsDelivered) {
    const std::string before = keymaps();
    XlibTextReceiver receiver;
    receiver.focus();
    const std::u32string text = U"Grüße, 1000 € für Œuvre → ok";
    ASSERT_TRUE(service().sendKeys(typed(text)).ok());
    service().drainQueuedInput();
    EXPECT_EQ(keymapChangesSince(before), "");
    EXPECT_TRUE(pumpUntil([&] { return receiver.text() == utf8(text); }, 1s)) << receiver.text();
}

TEST_F(X11InputTest, ModifiersTheUserHoldsAreWaitedForThenReleased) {
    XlibTextReceiver receiver;
    receiver.focus();
    userKey(display_, shiftKeycode, true);
    const auto start = Clock::now();
    ASSERT_TRUE(service().sendKeys(parsed("ab")).ok());
    pumpFor(300ms);
    EXPECT_EQ(receiver.text(), "");
    userKey(display_, shiftKeycode, false);
    EXPECT_TRUE(pumpUntil([&] { return receiver.text() == "ab"; }, 2s)) << receiver.text();
    EXPECT_LT(Clock::now() - start, 1s);

    // Held on: after a while released, and not pressed again.
    receiver.clear();
    userKey(display_, shiftKeycode, true);
    ASSERT_TRUE(service().sendKeys(parsed("cd")).ok());
    EXPECT_TRUE(pumpUntil([&] { return receiver.text() == "cd"; }, 3s)) << receiver.text();
    service().drainQueuedInput();
    EXPECT_FALSE(anyKeyDown());
    userKey(display_, shiftKeycode, false);
    EXPECT_FALSE(anyKeyDown());
}

TEST_F(X11InputTest, CapsLockDoesNotChangeTheTextAndStaysOn) {
    XlibTextReceiver receiver;
    XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, LockMask);
    XSync(display_, False);
    EXPECT_EQ(typeInto(receiver, parsed("aB1\xC3\xA4"), "aB1ä"), "aB1ä");
    EXPECT_TRUE(keyboardState().locked_mods & LockMask);
    XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, 0);
    XSync(display_, False);
}

TEST_F(X11InputTest, CharactersOfAnotherGroupAreTypedAndTheGroupIsRestored) {
    setLayout("-layout us,de");
    const std::string before = keymaps();
    XlibTextReceiver receiver;
    EXPECT_EQ(typeInto(receiver, typed(U"äz@yÜ"), "äz@yÜ"), "äz@yÜ");
    EXPECT_EQ(keyboardState().group, 0);
    EXPECT_EQ(keymapChangesSince(before), "");
}

TEST_F(X11InputTest, OwnFunctionKeysAreNoHotKeyPresses) {
    ASSERT_TRUE(keyState_.available());
    XlibTextReceiver receiver;
    (void)service().asyncKeyState(0x75);
    EXPECT_EQ(typeInto(receiver, parsed("{F6}"), "<F6>"), "<F6>");
    pumpFor(100ms);
    EXPECT_EQ(service().asyncKeyState(0x75) & keyPressedSinceLastQuery, 0);

    // Another program's press of F7 does count.
    (void)service().asyncKeyState(0x76);
    XTestFakeKeyEvent(display_, f7Keycode, True, CurrentTime);
    XTestFakeKeyEvent(display_, f7Keycode, False, CurrentTime);
    XSync(display_, False);
    pumpFor(100ms);
    EXPECT_EQ(service().asyncKeyState(0x76) & keyPressedSinceLastQuery, keyPressedSinceLastQuery);
}

TEST_F(X11InputTest, PointerLandsOnTheRequestedPixelClampedToTheScreen) {
    const struct {
        int x, y;
        ScreenPoint expected;
    } moves[] = {
        {123, 456, {123, 456}}, {-40, 99999, {0, 1079}}, {40000, 7, {1919, 7}}, {0, 0, {0, 0}}};
    for (const auto& move : moves) {
        ASSERT_TRUE(service().setCursorPos(move.x, move.y).ok());
        service().drainQueuedInput();
        EXPECT_EQ(service().cursorPos(), move.expected) << move.x << "," << move.y;
    }
}

TEST_F(X11InputTest, ButtonsArriveInOrderWhereThePointerIs) {
    test::XlibReceiver window(100, 100, 300, 200);
    ASSERT_TRUE(service().setCursorPos(150, 160).ok());
    ASSERT_TRUE(service().mouseEvent(mouseLeftDown | mouseLeftUp).ok());
    ASSERT_TRUE(service().setCursorPos(200, 210).ok());
    ASSERT_TRUE(service().mouseEvent(0x7E).ok());
    EXPECT_FALSE(service().mouseEvent(1 | 128 | 256).ok());  // unknown flags: nothing
    service().drainQueuedInput();
    const std::string expected =
        "down1 @150,160 up1 @150,160 down1 @200,210 up1 @200,210 down3 @200,210 up3 @200,210 "
        "down2 @200,210 up2 @200,210 ";
    EXPECT_TRUE(pumpUntil([&] { return window.buttons() == expected; }, 2s)) << window.buttons();

    // A button held when the user stops is released.
    window.clear();
    ASSERT_TRUE(service().mouseEvent(mouseRightDown).ok());
    service().drainQueuedInput();
    service().cancelQueuedInput();
    EXPECT_TRUE(pumpUntil([&] { return window.buttons() == "down3 @200,210 up3 @200,210 "; }, 2s))
        << window.buttons();
}

TEST_F(X11InputTest, SignalHookOfADyingProgramReleasesKeysAndEmptiesRemappedKeys) {
    const std::string before = keymaps();
    XlibTextReceiver receiver;
    receiver.focus();
    char* const arguments[] = {const_cast<char*>(X11_INPUT_EXIT_HELPER), nullptr};
    pid_t helper = -1;
    ASSERT_EQ(posix_spawn(&helper, X11_INPUT_EXIT_HELPER, nullptr, nullptr, arguments, environ), 0);
    const bool typing = pumpUntil([&] { return receiver.text().size() > 30; }, 10s);
    kill(helper, SIGTERM);
    int status = 0;
    waitpid(helper, &status, 0);
    ASSERT_TRUE(typing);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(anyKeyDown());
    EXPECT_EQ(keymapChangesSince(before), "");
}

TEST_F(X11InputTest, ALostXServerDoesNotEndTheProgram) {
    const std::string mainDisplay = std::getenv("DISPLAY");
    {
        test::XvfbServer doomed(640, 480);
        ASSERT_TRUE(service().sendKeys(parsed("a")).ok());
        service().drainQueuedInput();
    }
    ASSERT_TRUE(service().sendKeys(parsed("b")).ok());  // the loss shows only when used
    service().drainQueuedInput();
    EXPECT_FALSE(service().sendKeys(parsed("c")).ok());
    EXPECT_FALSE(service().setCursorPos(1, 1).ok());

    // Once a display is there again, a new connection is opened.
    setenv("DISPLAY", mainDisplay.c_str(), 1);
    EXPECT_TRUE(service().setCursorPos(12, 34).ok());
    service().drainQueuedInput();
    EXPECT_EQ(service().cursorPos(), (ScreenPoint{12, 34}));
}

}  // namespace
}  // namespace pontrel
