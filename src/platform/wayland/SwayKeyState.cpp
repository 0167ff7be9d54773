#include "platform/wayland/SwayKeyState.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <QJsonDocument>
#include <QJsonObject>

#include "platform/wayland/PolledKeyBindings.h"
#include "platform/wayland/SwayIpc.h"

namespace pontrel {

namespace {

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
    explicit Impl(std::string socketPath)
        : commands(socketPath),
          keys({[this](int virtualKey) { return bind(virtualKey); },
                [this](int virtualKey) { unbind(virtualKey); }}),
          events(std::move(socketPath)) {}

    void run();
    void handle(const SwayIpc::Event& event);
    bool bind(int virtualKey);
    void unbind(int virtualKey);

    SwayIpc commands;  // used by the bindings alone, under their lock
    PolledKeyBindings keys;
    SwayIpc events;  // the event thread's alone
    std::atomic<bool> subscribed{false};
    std::atomic<bool> stopping{false};
    std::thread thread;
};

bool SwayKeyState::Impl::bind(int virtualKey) {
    const std::string key = swayKeyName(virtualKey);
    return !key.empty() &&
           commands.command("bindsym --no-repeat " + key + " " + bindingCommand(virtualKey, false) +
                            "; bindsym --release " + key + " " + bindingCommand(virtualKey, true));
}

void SwayKeyState::Impl::unbind(int virtualKey) {
    const std::string key = swayKeyName(virtualKey);
    (void)commands.command("unbindsym --no-repeat " + key + "; unbindsym --release " + key);
}

void SwayKeyState::Impl::handle(const SwayIpc::Event& event) {
    const QJsonObject body =
        QJsonDocument::fromJson(QByteArray::fromStdString(event.payload)).object();
    if (event.type == SwayIpc::workspaceEvent) {
        // A reload drops the bindings made at run time: the next query makes them again.
        if (body.value("change").toString() == "reload") {
            keys.forgetBindings();
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
        keys.pressed(key);
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
        keys.unbindIdle();
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
    impl_->keys.unbindAll();
}

bool SwayKeyState::available() const {
    return impl_->subscribed;
}

std::uint16_t SwayKeyState::query(int virtualKey) {
    return available() ? impl_->keys.query(virtualKey) : 0;
}

void SwayKeyState::announceSyntheticPress(int virtualKey) {
    impl_->keys.announceSyntheticPress(virtualKey);
}

}  // namespace pontrel
