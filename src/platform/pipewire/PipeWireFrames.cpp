#include "platform/pipewire/PipeWireFrames.h"

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>
#include <unistd.h>
#include <cstring>
#include <mutex>
#include <string>

// pipewire's loop calls are macros over GNU statement expressions, which clang's pedantic mode
// refuses where they expand.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wgnu-statement-expression"
#endif

namespace pontrel {

namespace {

using Clock = std::chrono::steady_clock;

std::once_flag pipeWireStarted;

struct FormatChoice {
    spa_video_format format;
    PixelOrder order;
};

// The 32-bit formats we read; the desktop picks one. Without a modifier in the offer no DMA-BUF
// is negotiated: the buffers are shared memory.
constexpr FormatChoice formatChoices[] = {
    {SPA_VIDEO_FORMAT_BGRx, PixelOrder::Bgrx}, {SPA_VIDEO_FORMAT_BGRA, PixelOrder::Bgrx},
    {SPA_VIDEO_FORMAT_RGBx, PixelOrder::Rgbx}, {SPA_VIDEO_FORMAT_RGBA, PixelOrder::Rgbx},
    {SPA_VIDEO_FORMAT_xRGB, PixelOrder::Xrgb}, {SPA_VIDEO_FORMAT_ARGB, PixelOrder::Xrgb},
    {SPA_VIDEO_FORMAT_xBGR, PixelOrder::Xbgr}, {SPA_VIDEO_FORMAT_ABGR, PixelOrder::Xbgr},
};
constexpr std::size_t formatCount = sizeof(formatChoices) / sizeof(formatChoices[0]);

class PipeWireStream final : public FrameStream {
public:
    PipeWireStream(pw_thread_loop* loop, pw_core* core, std::uint32_t node, bool keepNewest);
    ~PipeWireStream() override;
    PipeWireStream(const PipeWireStream&) = delete;
    PipeWireStream& operator=(const PipeWireStream&) = delete;

    std::optional<Frame> frame(std::chrono::milliseconds wait) override;
    bool alive() override;

private:
    static const pw_stream_events events;
    static void stateChanged(void* data, pw_stream_state, pw_stream_state state, const char*);
    static void paramChanged(void* data, std::uint32_t id, const spa_pod* param);
    static void process(void* data);
    static void idleCheck(void* data, std::uint64_t);
    void keep(const spa_data& data);
    void end();

    pw_thread_loop* loop_;
    bool keepNewest_;
    pw_stream* stream_ = nullptr;
    spa_hook listener_{};
    spa_source* idleTimer_ = nullptr;
    // Set on the loop's thread, read with the loop locked.
    int width_ = 0;
    int height_ = 0;
    PixelOrder order_ = PixelOrder::Bgrx;
    std::optional<Frame> frame_;
    bool ended_ = false;
    Clock::time_point lastAsked_ = Clock::now();
};

const pw_stream_events PipeWireStream::events = [] {
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.state_changed = stateChanged;
    events.param_changed = paramChanged;
    events.process = process;
    return events;
}();

PipeWireStream::PipeWireStream(pw_thread_loop* loop, pw_core* core, std::uint32_t node,
                               bool keepNewest)
    : loop_(loop), keepNewest_(keepNewest) {
    pw_thread_loop_lock(loop_);
    // Only the node asked for: where it is gone, the session manager would link any other
    // video source (a camera) instead.
    stream_ = pw_stream_new(core, "pontrel-screen",
                            pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY,
                                              "Capture", PW_KEY_MEDIA_ROLE, "Screen",
                                              PW_KEY_NODE_DONT_RECONNECT, "true", nullptr));
    if (stream_ == nullptr) {
        ended_ = true;
        pw_thread_loop_unlock(loop_);
        return;
    }
    pw_stream_add_listener(stream_, &listener_, &events, this);
    std::uint8_t podSpace[formatCount * 128];
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, podSpace, sizeof(podSpace));
    const spa_pod* offers[formatCount];
    for (std::size_t i = 0; i < formatCount; ++i) {
        spa_video_info_raw offer{};
        offer.format = formatChoices[i].format;
        offers[i] = spa_format_video_raw_build(&builder, SPA_PARAM_EnumFormat, &offer);
    }
    const auto flags =
        static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS);
    if (pw_stream_connect(stream_, PW_DIRECTION_INPUT, node, flags, offers, formatCount) < 0) {
        ended_ = true;
    }
    pw_loop* threadLoop = pw_thread_loop_get_loop(loop_);
    idleTimer_ = pw_loop_add_timer(threadLoop, idleCheck, this);
    timespec interval{0, std::chrono::nanoseconds(idleEnd).count()};
    pw_loop_update_timer(threadLoop, idleTimer_, &interval, &interval, false);
    pw_thread_loop_unlock(loop_);
}

PipeWireStream::~PipeWireStream() {
    pw_thread_loop_lock(loop_);
    if (idleTimer_ != nullptr) {
        pw_loop_destroy_source(pw_thread_loop_get_loop(loop_), idleTimer_);
    }
    if (stream_ != nullptr) {
        pw_stream_destroy(stream_);
    }
    pw_thread_loop_unlock(loop_);
}

std::optional<Frame> PipeWireStream::frame(std::chrono::milliseconds wait) {
    pw_thread_loop_lock(loop_);
    lastAsked_ = Clock::now();
    timespec deadline{};
    pw_thread_loop_get_time(loop_, &deadline,
                            std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count());
    while (!frame_ && !ended_) {
        if (pw_thread_loop_timed_wait_full(loop_, &deadline) != 0) {
            break;
        }
    }
    std::optional<Frame> result = ended_ ? std::nullopt : frame_;
    pw_thread_loop_unlock(loop_);
    return result;
}

bool PipeWireStream::alive() {
    pw_thread_loop_lock(loop_);
    const bool alive = !ended_;
    pw_thread_loop_unlock(loop_);
    return alive;
}

void PipeWireStream::stateChanged(void* data, pw_stream_state, pw_stream_state state, const char*) {
    if (state == PW_STREAM_STATE_ERROR || state == PW_STREAM_STATE_UNCONNECTED) {
        static_cast<PipeWireStream*>(data)->end();
    }
}

void PipeWireStream::paramChanged(void* data, std::uint32_t id, const spa_pod* param) {
    auto& self = *static_cast<PipeWireStream*>(data);
    if (id != SPA_PARAM_Format || param == nullptr) {
        return;
    }
    spa_video_info_raw format{};
    if (spa_format_video_raw_parse(param, &format) < 0) {
        self.end();
        return;
    }
    for (const FormatChoice& choice : formatChoices) {
        if (choice.format == format.format) {
            self.order_ = choice.order;
        }
    }
    self.width_ = static_cast<int>(format.size.width);
    self.height_ = static_cast<int>(format.size.height);
    // Two shared-memory buffers are enough for us; the desktop would allocate more of them.
    std::uint8_t podSpace[256];
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, podSpace, sizeof(podSpace));
    spa_pod_frame frame{};
    spa_pod_builder_push_object(&builder, &frame, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers);
    spa_pod_builder_prop(&builder, SPA_PARAM_BUFFERS_buffers, 0);
    spa_pod_builder_int(&builder, 2);
    spa_pod_builder_prop(&builder, SPA_PARAM_BUFFERS_dataType, 0);
    spa_pod_builder_int(&builder, (1 << SPA_DATA_MemFd) | (1 << SPA_DATA_MemPtr));
    const auto* buffers = static_cast<const spa_pod*>(spa_pod_builder_pop(&builder, &frame));
    pw_stream_update_params(self.stream_, &buffers, 1);
}

void PipeWireStream::process(void* data) {
    auto& self = *static_cast<PipeWireStream*>(data);
    pw_buffer* buffer = pw_stream_dequeue_buffer(self.stream_);
    if (buffer == nullptr) {
        return;
    }
    const spa_buffer& content = *buffer->buffer;
    if (content.n_datas > 0 && (self.keepNewest_ || !self.frame_)) {
        self.keep(content.datas[0]);
    }
    pw_stream_queue_buffer(self.stream_, buffer);
    pw_thread_loop_signal(self.loop_, false);
}

// Copies a buffer that holds a whole frame; empty, damaged and unmapped buffers (a DMA-BUF)
// are passed over.
void PipeWireStream::keep(const spa_data& data) {
    const spa_chunk& chunk = *data.chunk;
    if (data.data == nullptr || chunk.size == 0 || (chunk.flags & SPA_CHUNK_FLAG_CORRUPTED) ||
        width_ <= 0 || height_ <= 0) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 4;
    const std::size_t stride = chunk.stride > 0 ? static_cast<std::size_t>(chunk.stride) : rowBytes;
    const std::size_t offset = chunk.offset % data.maxsize;
    if (stride < rowBytes ||
        offset + stride * static_cast<std::size_t>(height_ - 1) + rowBytes > data.maxsize) {
        return;
    }
    Frame frame{std::vector<unsigned char>(rowBytes * static_cast<std::size_t>(height_)), width_,
                height_, static_cast<int>(rowBytes), order_};
    const auto* source = static_cast<const unsigned char*>(data.data) + offset;
    for (int row = 0; row < height_; ++row) {
        std::memcpy(frame.bytes.data() + rowBytes * static_cast<std::size_t>(row),
                    source + stride * static_cast<std::size_t>(row), rowBytes);
    }
    frame_ = std::move(frame);
}

void PipeWireStream::idleCheck(void* data, std::uint64_t) {
    auto& self = *static_cast<PipeWireStream*>(data);
    if (!self.ended_ && Clock::now() - self.lastAsked_ >= idleEnd) {
        pw_stream_disconnect(self.stream_);
        self.end();
    }
}

void PipeWireStream::end() {
    ended_ = true;
    pw_thread_loop_signal(loop_, false);
}

}  // namespace

PipeWireFrames::PipeWireFrames() {
    connect(-1);
}

PipeWireFrames::PipeWireFrames(int remote) {
    connect(remote);
}

void PipeWireFrames::connect(int remote) {
    std::call_once(pipeWireStarted, [] { pw_init(nullptr, nullptr); });
    loop_ = pw_thread_loop_new("pontrel-screen", nullptr);
    if (loop_ != nullptr) {
        context_ = pw_context_new(pw_thread_loop_get_loop(loop_), nullptr, 0);
    }
    if (context_ == nullptr || pw_thread_loop_start(loop_) < 0) {
        if (remote >= 0) {
            close(remote);
        }
        return;
    }
    pw_thread_loop_lock(loop_);
    // The descriptor goes to the connection.
    core_ = remote >= 0 ? pw_context_connect_fd(context_, remote, nullptr, 0)
                        : pw_context_connect(context_, nullptr, 0);
    pw_thread_loop_unlock(loop_);
}

PipeWireFrames::~PipeWireFrames() {
    if (loop_ != nullptr) {
        pw_thread_loop_stop(loop_);
    }
    if (core_ != nullptr) {
        pw_core_disconnect(core_);
    }
    if (context_ != nullptr) {
        pw_context_destroy(context_);
    }
    if (loop_ != nullptr) {
        pw_thread_loop_destroy(loop_);
    }
}

bool PipeWireFrames::usable() {
    return core_ != nullptr;
}

std::unique_ptr<FrameStream> PipeWireFrames::open(std::uint32_t node, bool keepNewest) {
    if (!usable()) {
        return nullptr;
    }
    return std::make_unique<PipeWireStream>(loop_, core_, node, keepNewest);
}

}  // namespace pontrel
