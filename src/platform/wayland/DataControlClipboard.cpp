#include "platform/wayland/DataControlClipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include <wayland-client.h>

#include "platform/wayland/WaylandConnection.h"
#include "wlr-data-control-unstable-v1-client.h"

namespace pontrel {

namespace {

using namespace std::chrono_literals;

// What a selection holds: its bytes per type.
using Contents = std::vector<std::pair<std::string, std::string>>;

// Larger clipboards (pictures, mostly) are not kept: a paste then loses them, but never blocks.
constexpr std::size_t saveLimit = 16 * 1024 * 1024;
constexpr auto readTimeout = 1s;
constexpr auto syncTimeout = 2s;
constexpr int loopWaitMs = 50;

const char* const textTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT",
                                 "STRING"};

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Reads a pipe until its writer closes it; nullopt after a pause longer than readTimeout.
std::optional<std::string> readAll(int fd, std::size_t limit) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(readTimeout.count() * 1000));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || bytes.size() + static_cast<std::size_t>(got) > limit) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace

struct DataControlClipboard::Impl {
    Impl();
    ~Impl();
    void run();
    bool sync(std::unique_lock<std::mutex>& lock);
    bool own(std::unique_lock<std::mutex>& lock, const Contents& contents);
    std::optional<Contents> readSelection(std::unique_lock<std::mutex>& lock);

    static void dataOffer(void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* id);
    static void selection(void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* id);
    static void finished(void* data, zwlr_data_control_device_v1*);
    static void primarySelection(void* data, zwlr_data_control_device_v1*,
                                 zwlr_data_control_offer_v1* id);
    static void offerType(void* data, zwlr_data_control_offer_v1* offer, const char* type);
    static void send(void* data, zwlr_data_control_source_v1* source, const char* type, int fd);
    static void cancelled(void* data, zwlr_data_control_source_v1* source);

    WaylandConnection connection;
    zwlr_data_control_manager_v1* manager = nullptr;
    zwlr_data_control_device_v1* device = nullptr;

    // Guards everything below and the requests on the objects above; the listeners run with it
    // held, on the thread.
    std::mutex mutex;
    std::condition_variable changed;
    // Offers announced and the types each carries; `current` is the selection's.
    std::vector<std::pair<zwlr_data_control_offer_v1*, std::vector<std::string>>> offers;
    zwlr_data_control_offer_v1* current = nullptr;
    zwlr_data_control_source_v1* source = nullptr;
    Contents owned;  // what `source` offers
    int reads = 0;   // requests answered for `source`
    std::optional<Contents> saved;
    std::uint64_t syncsSent = 0;
    std::uint64_t syncsAnswered = 0;
    std::atomic<bool> stopping{false};
    std::thread thread;
};

DataControlClipboard::Impl::Impl() {
    const auto global = connection.global(zwlr_data_control_manager_v1_interface.name);
    if (!connection.usable() || !global || connection.seat() == nullptr) {
        return;
    }
    manager = static_cast<zwlr_data_control_manager_v1*>(wl_registry_bind(
        connection.registry(), global->name, &zwlr_data_control_manager_v1_interface, 1));
    device = zwlr_data_control_manager_v1_get_data_device(manager, connection.seat());
    static const zwlr_data_control_device_v1_listener listener = {dataOffer, selection, finished,
                                                                  primarySelection};
    zwlr_data_control_device_v1_add_listener(device, &listener, this);
    // The selection of the moment comes first; save() must not miss it.
    if (!connection.roundtrip()) {
        return;
    }
    // A broken pipe of a reader that gave up must not end the program: the thread ignores it.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    thread = std::thread([this] { run(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

DataControlClipboard::Impl::~Impl() {
    stopping = true;
    if (thread.joinable()) {
        thread.join();
    }
    if (source != nullptr) {
        zwlr_data_control_source_v1_destroy(source);
    }
    for (const auto& [offer, types] : offers) {
        zwlr_data_control_offer_v1_destroy(offer);
    }
    if (device != nullptr) {
        zwlr_data_control_device_v1_destroy(device);
        zwlr_data_control_manager_v1_destroy(manager);
    }
}

// Reads and dispatches the compositor's events; requests from the caller's thread go out
// meanwhile, under the mutex.
void DataControlClipboard::Impl::run() {
    wl_display* display = connection.display();
    while (!stopping) {
        {
            const std::lock_guard lock(mutex);
            while (wl_display_prepare_read(display) != 0) {
                wl_display_dispatch_pending(display);
            }
            wl_display_flush(display);
        }
        pollfd readable{wl_display_get_fd(display), POLLIN, 0};
        const int ready = poll(&readable, 1, loopWaitMs);
        const std::lock_guard lock(mutex);
        if (ready > 0 && (readable.revents & POLLIN) != 0) {
            wl_display_read_events(display);
        } else {
            wl_display_cancel_read(display);
        }
        const bool failed = wl_display_dispatch_pending(display) < 0;
        changed.notify_all();
        if (failed) {
            return;
        }
    }
}

void DataControlClipboard::Impl::dataOffer(void* data, zwlr_data_control_device_v1*,
                                           zwlr_data_control_offer_v1* id) {
    static const zwlr_data_control_offer_v1_listener listener = {offerType};
    auto& self = *static_cast<Impl*>(data);
    self.offers.emplace_back(id, std::vector<std::string>());
    zwlr_data_control_offer_v1_add_listener(id, &listener, data);
}

void DataControlClipboard::Impl::offerType(void* data, zwlr_data_control_offer_v1* offer,
                                           const char* type) {
    for (auto& [known, types] : static_cast<Impl*>(data)->offers) {
        if (known == offer) {
            types.emplace_back(type);
        }
    }
}

void DataControlClipboard::Impl::selection(void* data, zwlr_data_control_device_v1*,
                                           zwlr_data_control_offer_v1* id) {
    auto& self = *static_cast<Impl*>(data);
    // Offers other than the new selection are done with (primary selections among them).
    std::erase_if(self.offers, [id](const auto& offer) {
        if (offer.first != id) {
            zwlr_data_control_offer_v1_destroy(offer.first);
            return true;
        }
        return false;
    });
    self.current = id;
}

void DataControlClipboard::Impl::primarySelection(void*, zwlr_data_control_device_v1*,
                                                  zwlr_data_control_offer_v1*) {}

void DataControlClipboard::Impl::finished(void* data, zwlr_data_control_device_v1*) {
    static_cast<Impl*>(data)->current = nullptr;
}

void DataControlClipboard::Impl::send(void* data, zwlr_data_control_source_v1* source,
                                      const char* type, int fd) {
    auto& self = *static_cast<Impl*>(data);
    const auto it = std::find_if(self.owned.begin(), self.owned.end(),
                                 [type](const auto& entry) { return entry.first == type; });
    if (source == self.source && it != self.owned.end()) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        (void)writeAll(fd, it->second);
        ++self.reads;
    }
    close(fd);
}

void DataControlClipboard::Impl::cancelled(void* data, zwlr_data_control_source_v1* source) {
    auto& self = *static_cast<Impl*>(data);
    if (source == self.source) {
        self.source = nullptr;
        self.owned.clear();
    }
    zwlr_data_control_source_v1_destroy(source);
}

// Waits until the compositor has handled every request sent so far.
bool DataControlClipboard::Impl::sync(std::unique_lock<std::mutex>& lock) {
    static const wl_callback_listener answered = {
        [](void* data, wl_callback* callback, std::uint32_t) {
            ++static_cast<Impl*>(data)->syncsAnswered;
            wl_callback_destroy(callback);
        }};
    const std::uint64_t wanted = ++syncsSent;
    wl_callback_add_listener(wl_display_sync(connection.display()), &answered, this);
    wl_display_flush(connection.display());
    return changed.wait_for(lock, syncTimeout, [&] { return syncsAnswered >= wanted; });
}

bool DataControlClipboard::Impl::own(std::unique_lock<std::mutex>& lock, const Contents& contents) {
    if (contents.empty()) {
        zwlr_data_control_device_v1_set_selection(device, nullptr);
        return sync(lock);
    }
    static const zwlr_data_control_source_v1_listener listener = {send, cancelled};
    zwlr_data_control_source_v1* next = zwlr_data_control_manager_v1_create_data_source(manager);
    zwlr_data_control_source_v1_add_listener(next, &listener, this);
    for (const auto& [type, bytes] : contents) {
        zwlr_data_control_source_v1_offer(next, type.c_str());
    }
    zwlr_data_control_device_v1_set_selection(device, next);
    source = next;
    owned = contents;
    reads = 0;
    return sync(lock);
}

std::optional<Contents> DataControlClipboard::Impl::readSelection(
    std::unique_lock<std::mutex>& lock) {
    if (source != nullptr) {
        return owned;  // ours already: what the user had is what we put back
    }
    const auto it = std::find_if(offers.begin(), offers.end(),
                                 [this](const auto& offer) { return offer.first == current; });
    if (current == nullptr || it == offers.end()) {
        return Contents{};
    }
    zwlr_data_control_offer_v1* offer = current;
    const std::vector<std::string> types = it->second;
    Contents contents;
    std::size_t total = 0;
    for (const std::string& type : types) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return std::nullopt;
        }
        zwlr_data_control_offer_v1_receive(offer, type.c_str(), fds[1]);
        wl_display_flush(connection.display());
        close(fds[1]);
        // The owner may be slow; the thread goes on answering meanwhile.
        lock.unlock();
        const auto bytes = readAll(fds[0], saveLimit - total);
        close(fds[0]);
        lock.lock();
        if (current != offer) {
            return std::nullopt;  // the selection changed while we read it
        }
        if (bytes) {
            total += bytes->size();
            contents.emplace_back(type, *bytes);
        }
    }
    return contents;
}

DataControlClipboard::DataControlClipboard() : impl_(std::make_unique<Impl>()) {}

DataControlClipboard::~DataControlClipboard() = default;

bool DataControlClipboard::usable() const {
    return impl_->device != nullptr && impl_->connection.usable();
}

bool DataControlClipboard::save() {
    if (!usable()) {
        return false;
    }
    std::unique_lock lock(impl_->mutex);
    impl_->saved = impl_->readSelection(lock);
    return impl_->saved.has_value();
}

bool DataControlClipboard::offerText(const std::string& utf8) {
    if (!usable()) {
        return false;
    }
    Contents contents;
    for (const char* type : textTypes) {
        contents.emplace_back(type, utf8);
    }
    std::unique_lock lock(impl_->mutex);
    return impl_->own(lock, contents);
}

bool DataControlClipboard::waitUntilRead(std::chrono::milliseconds timeout) {
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, timeout, [this] { return impl_->reads > 0; });
}

bool DataControlClipboard::restore() {
    if (!usable()) {
        return false;
    }
    std::unique_lock lock(impl_->mutex);
    if (!impl_->saved) {
        return true;
    }
    const Contents saved = std::move(*impl_->saved);
    impl_->saved.reset();
    return impl_->own(lock, saved);
}

}  // namespace pontrel
