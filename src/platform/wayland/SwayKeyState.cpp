#include "platform/wayland/SwayKeyState.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <QJsonDocument>
#include <QJsonObject>

#include "platform/PolledKeys.h"
#include "platform/wayland/InputCodes.h"
#include "platform/wayland/SwayIpc.h"

namespace pontrel {

namespace {

using Clock = PolledKeys::Clock;

constexpr int eventWaitMs = 50;
constexpr char commandPrefix[] = "nop pontrel-key-";

std::string bindingCommand(int virtualKey, bool release) {
    return commandPrefix + std::to_string(virtualKey) + (release ? "-up" : "");
}

}  // namespace

struct SwayKeyState::Impl {
    explicit Impl(std::string socketPath) : commands(socketPath), events(std::move(socketPath)) {}

    void run();
    void handle(const SwayIpc::Event& event);
    bool bind(int virtualKey);
    void unbind(int virtualKey);

    std::mutex mutex;  // guards commands and keys
    SwayIpc commands;
    PolledKeys keys;

    SwayIpc events;  // the event thread's alone
    std::atomic<bool> subscribed{false};
    std::atomic<bool> stopping{false};
    std::thread thread;
};

bool SwayKeyState::Impl::bind(int virtualKey) {
    const std::string key = keysymName(virtualKey);
    return !key.empty() &&
           commands.command("bindsym --no-repeat " + key + " " + bindingCommand(virtualKey, false) +
                            "; bindsym --release " + key + " " + bindingCommand(virtualKey, true));
}

void SwayKeyState::Impl::unbind(int virtualKey) {
    const std::string key = keysymName(virtualKey);
    (void)commands.command("unbindsym --no-repeat " + key + "; unbindsym --release " + key);
}

void SwayKeyState::Impl::handle(const SwayIpc::Event& event) {
    const QJsonObject body =
        QJsonDocument::fromJson(QByteArray::fromStdString(event.payload)).object();
    const std::lock_guard lock(mutex);
    if (event.type == SwayIpc::workspaceEvent) {
        // A reload drops the bindings made at run time: the next query makes them again.
        if (body.value("change").toString() == "reload") {
            keys.bindingsLost();
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
    if (release) {
        keys.released(key);
    } else {
        keys.pressed(key, Clock::now());
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
        const std::lock_guard lock(mutex);
        for (int key : keys.takeIdle(Clock::now())) {
            unbind(key);
        }
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
    for (int key : impl_->keys.takeAll()) {
        impl_->unbind(key);
    }
}

bool SwayKeyState::available() const {
    return impl_->subscribed;
}

std::uint16_t SwayKeyState::query(int virtualKey) {
    if (!available()) {
        return 0;
    }
    const std::lock_guard lock(impl_->mutex);
    return impl_->keys.query(virtualKey, Clock::now(),
                             [this](int key) { return impl_->bind(key); });
}

void SwayKeyState::announceSyntheticPress(int virtualKey) {
    const std::lock_guard lock(impl_->mutex);
    impl_->keys.announce(virtualKey, Clock::now());
}

}  // namespace pontrel
