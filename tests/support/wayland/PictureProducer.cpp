#include "support/wayland/PictureProducer.h"

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>

#include <chrono>
#include <cstring>
#include <utility>

#if defined(__clang__)
#pragma clang diagnostic ignored "-Wgnu-statement-expression"
#endif

namespace pontrel::test {

struct PictureProducer::Impl {
    static const pw_stream_events events;

    static void stateChanged(void* data, pw_stream_state, pw_stream_state state, const char*) {
        auto& self = *static_cast<Impl*>(data);
        if (state == PW_STREAM_STATE_PAUSED || state == PW_STREAM_STATE_STREAMING) {
            self.nodeId = pw_stream_get_node_id(self.stream);
        }
        if (state == PW_STREAM_STATE_ERROR) {
            self.failed = true;
        }
        // Frames while someone watches.
        timespec interval{0, state == PW_STREAM_STATE_STREAMING ? 33'000'000 : 0};
        pw_loop_update_timer(pw_thread_loop_get_loop(self.loop), self.timer, &interval, &interval,
                             false);
        pw_thread_loop_signal(self.loop, false);
    }

    static void paramChanged(void* data, std::uint32_t id, const spa_pod* param) {
        auto& self = *static_cast<Impl*>(data);
        if (id != SPA_PARAM_Format || param == nullptr) {
            return;
        }
        std::uint8_t space[256];
        spa_pod_builder builder{};
        spa_pod_builder_init(&builder, space, sizeof(space));
        const auto* buffers = static_cast<const spa_pod*>(spa_pod_builder_add_object(
            &builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_buffers,
            SPA_POD_Int(2), SPA_PARAM_BUFFERS_blocks, SPA_POD_Int(1), SPA_PARAM_BUFFERS_size,
            SPA_POD_Int(self.width * 4 * self.height), SPA_PARAM_BUFFERS_stride,
            SPA_POD_Int(self.width * 4), SPA_PARAM_BUFFERS_dataType,
            SPA_POD_CHOICE_FLAGS_Int((1 << SPA_DATA_MemFd) | (1 << SPA_DATA_MemPtr))));
        pw_stream_update_params(self.stream, &buffers, 1);
    }

    static void process(void* data) {
        auto& self = *static_cast<Impl*>(data);
        pw_buffer* buffer = pw_stream_dequeue_buffer(self.stream);
        if (buffer == nullptr) {
            return;
        }
        spa_data& plane = buffer->buffer->datas[0];
        const std::size_t size = self.pixels.size() * 4;
        if (plane.data != nullptr && plane.maxsize >= size) {
            // 0x00RRGGBB in memory on a little-endian machine is BGRx.
            std::memcpy(plane.data, self.pixels.data(), size);
            plane.chunk->offset = 0;
            plane.chunk->size = static_cast<std::uint32_t>(size);
            plane.chunk->stride = self.width * 4;
        }
        pw_stream_queue_buffer(self.stream, buffer);
    }

    static void tick(void* data, std::uint64_t) {
        pw_stream_trigger_process(static_cast<Impl*>(data)->stream);
    }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;  // changed with the loop locked
    pw_thread_loop* loop = nullptr;
    pw_context* context = nullptr;
    pw_core* core = nullptr;
    pw_stream* stream = nullptr;
    spa_hook listener{};
    spa_source* timer = nullptr;
    std::uint32_t nodeId = SPA_ID_INVALID;
    bool failed = false;
};

const pw_stream_events PictureProducer::Impl::events = [] {
    pw_stream_events events{};
    events.version = PW_VERSION_STREAM_EVENTS;
    events.state_changed = stateChanged;
    events.param_changed = paramChanged;
    events.process = process;
    return events;
}();

PictureProducer::PictureProducer(int width, int height, std::vector<std::uint32_t> pixels)
    : impl_(new Impl{width, height, std::move(pixels)}) {
    pw_init(nullptr, nullptr);
    Impl& self = *impl_;
    self.loop = pw_thread_loop_new("picture-producer", nullptr);
    self.context = pw_context_new(pw_thread_loop_get_loop(self.loop), nullptr, 0);
    pw_thread_loop_start(self.loop);
    pw_thread_loop_lock(self.loop);
    self.core = pw_context_connect(self.context, nullptr, 0);
    if (self.core == nullptr) {
        self.failed = true;
        pw_thread_loop_unlock(self.loop);
        return;
    }
    self.timer = pw_loop_add_timer(pw_thread_loop_get_loop(self.loop), Impl::tick, &self);
    self.stream =
        pw_stream_new(self.core, "pontrel-test-monitor",
                      pw_properties_new(PW_KEY_MEDIA_CLASS, "Video/Source", PW_KEY_MEDIA_TYPE,
                                        "Video", PW_KEY_MEDIA_CATEGORY, "Source", nullptr));
    pw_stream_add_listener(self.stream, &self.listener, &Impl::events, &self);
    std::uint8_t space[256];
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, space, sizeof(space));
    spa_video_info_raw offer{};
    offer.format = SPA_VIDEO_FORMAT_BGRx;
    offer.size =
        spa_rectangle{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
    offer.framerate = spa_fraction{30, 1};
    const spa_pod* format = spa_format_video_raw_build(&builder, SPA_PARAM_EnumFormat, &offer);
    pw_stream_connect(
        self.stream, PW_DIRECTION_OUTPUT, PW_ID_ANY,
        static_cast<pw_stream_flags>(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_MAP_BUFFERS), &format,
        1);
    pw_thread_loop_unlock(self.loop);
}

PictureProducer::~PictureProducer() {
    Impl& self = *impl_;
    pw_thread_loop_stop(self.loop);
    if (self.stream != nullptr) {
        pw_stream_destroy(self.stream);
    }
    if (self.timer != nullptr) {
        pw_loop_destroy_source(pw_thread_loop_get_loop(self.loop), self.timer);
    }
    if (self.core != nullptr) {
        pw_core_disconnect(self.core);
    }
    pw_context_destroy(self.context);
    pw_thread_loop_destroy(self.loop);
}

std::uint32_t PictureProducer::node() {
    Impl& self = *impl_;
    pw_thread_loop_lock(self.loop);
    timespec deadline{};
    pw_thread_loop_get_time(self.loop, &deadline, 5'000'000'000LL);
    while (self.nodeId == SPA_ID_INVALID && !self.failed) {
        if (pw_thread_loop_timed_wait_full(self.loop, &deadline) != 0) {
            break;
        }
    }
    const std::uint32_t node = self.nodeId == SPA_ID_INVALID ? 0 : self.nodeId;
    pw_thread_loop_unlock(self.loop);
    return node;
}

void PictureProducer::show(std::vector<std::uint32_t> pixels) {
    pw_thread_loop_lock(impl_->loop);
    impl_->pixels = std::move(pixels);
    pw_thread_loop_unlock(impl_->loop);
}

}  // namespace pontrel::test
