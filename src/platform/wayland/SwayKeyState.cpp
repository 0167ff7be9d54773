#include "platform/wayland/SwayKeyState.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include <QJsonDocument>
#include <QJsonObject>

#include "platform/InputService.h"
#include "platform/wayland/SwayIpc.h"

namespace pontrel {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int keyCount = 256;
// A key not queried for this long is given back to the other programs; long enough that the
// polls of a busy program never let it go in between.
constexpr auto unbindAfter = 1s;
// How long an announced press of our own typing waits for its binding event.
constexpr auto announcementLifetime = 1s;
constexpr int eventWaitMs = 50;
constexpr char commandPrefix[] = "nop pontrel-key-";

std::string bindingCommand(int virtualKey, bool release) {
    return commandPrefix + std::to_string(virtualKey) + (release ? "-up" : "");
}

}  // namespace

std::string swayKeyName(int virtualKey) {
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        return "F" + std::to_string(virtualKey - 0x70 + 1);
    }
    if ((virtualKey >= '0' && virtualKey <= '9')) {
        return std::string(1, static_cast<char>(virtualKey));
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return std::string(1, static_cast<char>(virtualKey - 'A' + 'a'));
    }
    switch (virtualKey) {
        case 0x08:
            return "BackSpace";
        case 0x09:
            return "Tab";
        case 0x0D:
            return "Return";
        case 0x1B:
            return "Escape";
        case 0x20:
            return "space";
        default:
            return {};
    }
}

struct SwayKeyState::Impl {
    explicit Impl(std::string socketPath) : commands(socketPath), events(std::move(socketPath)) {}

    void run();
    void handle(const SwayIpc::Event& event);
    bool bind(int virtualKey);
    void unbind(int virtualKey);
    void unbindIdle();

    std::mutex mutex;  // guards commands and every array
    SwayIpc commands;
    std::array<bool, keyCount> bound{};
    std::array<Clock::time_point, keyCount> lastQuery{};
    std::array<bool, keyCount> down{};
    std::array<bool, keyCount> pressedSinceQuery{};
    std::array<std::vector<Clock::time_point>, keyCount> announced{};

    SwayIpc events;  // the event thread's alone
    std::atomic<bool> subscribed{false};
    std::atomic<bool> stopping{false};
    std::thread thread;
};

bool SwayKeyState::Impl::bind(int virtualKey) {
    const std::string key = swayKeyName(virtualKey);
    if (key.empty()) {
        return false;
    }
    bound[virtualKey] =
        commands.command("bindsym --no-repeat " + key + " " + bindingCommand(virtualKey, false) +
                         "; bindsym --release " + key + " " + bindingCommand(virtualKey, true));
    return bound[virtualKey];
}

void SwayKeyState::Impl::unbind(int virtualKey) {
    const std::string key = swayKeyName(virtualKey);
    (void)commands.command("unbindsym --no-repeat " + key + "; unbindsym --release " + key);
    bound[virtualKey] = false;
    down[virtualKey] = false;
    pressedSinceQuery[virtualKey] = false;
}

void SwayKeyState::Impl::unbindIdle() {
    const std::lock_guard lock(mutex);
    const auto now = Clock::now();
    for (int key = 0; key < keyCount; ++key) {
        if (bound[key] && now - lastQuery[key] > unbindAfter) {
            unbind(key);
        }
    }
}

void SwayKeyState::Impl::handle(const SwayIpc::Event& event) {
    const QJsonObject body =
        QJsonDocument::fromJson(QByteArray::fromStdString(event.payload)).object();
    const std::lock_guard lock(mutex);
    if (event.type == SwayIpc::workspaceEvent) {
        // A reload drops the bindings made at run time: the next query makes them again.
        if (body.value("change").toString() == "reload") {
            bound.fill(false);
            down.fill(false);
        }
        return;
    }
    const std::string command =
        body.value("binding").toObject().value("command").toString().toStdString();
    if (command.rfind(commandPrefix, 0) != 0) {
        return;
    }
    const bool release = command.size() > 3 && command.compare(command.size() - 3, 3, "-up") == 0;
    const int key = std::atoi(command.c_str() + sizeof commandPrefix - 1);
    if (key <= 0 || key >= keyCount) {
        return;
    }
    down[key] = !release;
    if (release) {
        return;
    }
    auto& ours = announced[key];
    std::erase_if(ours,
                  [](Clock::time_point at) { return Clock::now() - at > announcementLifetime; });
    if (!ours.empty()) {
        ours.erase(ours.begin());
    } else {
        pressedSinceQuery[key] = true;
    }
}

void SwayKeyState::Impl::run() {
    while (!stopping) {
        if (events.closed()) {
            subscribed = events.subscribe(R"(["binding","workspace"])");
            if (!subscribed) {
                std::this_thread::sleep_for(std::chrono::milliseconds(eventWaitMs));
                continue;
            }
        }
        if (const auto event = events.nextEvent(eventWaitMs)) {
            handle(*event);
        }
        unbindIdle();
    }
}

SwayKeyState::SwayKeyState()
    : SwayKeyState(std::getenv("SWAYSOCK") ? std::getenv("SWAYSOCK") : "") {}

SwayKeyState::SwayKeyState(std::string socketPath)
    : impl_(std::make_unique<Impl>(std::move(socketPath))) {
    impl_->subscribed = impl_->events.subscribe(R"(["binding","workspace"])");
    if (impl_->subscribed) {
        impl_->thread = std::thread([impl = impl_.get()] { impl->run(); });
    }
}

SwayKeyState::~SwayKeyState() {
    impl_->stopping = true;
    if (impl_->thread.joinable()) {
        impl_->thread.join();
    }
    const std::lock_guard lock(impl_->mutex);
    for (int key = 0; key < keyCount; ++key) {
        if (impl_->bound[key]) {
            impl_->unbind(key);
        }
    }
}

bool SwayKeyState::available() const {
    return impl_->subscribed;
}

std::uint16_t SwayKeyState::query(int virtualKey) {
    if (virtualKey <= 0 || virtualKey >= keyCount || !available()) {
        return 0;
    }
    const std::lock_guard lock(impl_->mutex);
    impl_->lastQuery[virtualKey] = Clock::now();
    if (!impl_->bound[virtualKey] && !impl_->bind(virtualKey)) {
        return 0;
    }
    std::uint16_t state = impl_->down[virtualKey] ? keyDownNow : 0;
    if (impl_->pressedSinceQuery[virtualKey]) {
        impl_->pressedSinceQuery[virtualKey] = false;
        state |= keyPressedSinceLastQuery;
    }
    return state;
}

void SwayKeyState::announceSyntheticPress(int virtualKey) {
    if (virtualKey > 0 && virtualKey < keyCount) {
        const std::lock_guard lock(impl_->mutex);
        // An unbound key sends no event that could take the announcement.
        if (impl_->bound[virtualKey]) {
            impl_->announced[virtualKey].push_back(Clock::now());
        }
    }
}

}  // namespace pontrel
